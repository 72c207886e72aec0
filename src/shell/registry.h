// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <functional>
#include <map>
#include <memory>

namespace platform {
class Window;
}
class Start;

enum class TestWindow { Reaction, Memory, Dexterity, Arithmetic };

// Owns the five windows. Each is created on first use and lives as long as the
// program; when the last loaded window unloads, the program ends.
class WindowRegistry
{
public:
    explicit WindowRegistry(platform::Services &services);
    ~WindowRegistry();

    Start &start();
    // The test window, created on first use.
    platform::Window &test(TestWindow which);

private:
    using Factory = std::function<std::unique_ptr<platform::Window>(platform::Services &)>;
    void adopt(platform::Window &window);
    void endWhenNothingIsLoaded();

    platform::Services &services_;
    std::map<TestWindow, Factory> factories_;
    std::map<TestWindow, std::unique_ptr<platform::Window>> tests_;
    std::unique_ptr<Start> start_;
};
