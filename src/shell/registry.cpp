// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/registry.h"

#include "arithmetic/form4.h"
#include "dexterity/form3.h"
#include "memory/form2.h"
#include "reaction/form1.h"
#include "shell/start.h"

WindowRegistry::WindowRegistry(platform::Services &services)
    : services_(services)
{
    factories_[TestWindow::Arithmetic] = [](platform::Services &s) { return std::make_unique<Form4>(s); };
    factories_[TestWindow::Dexterity] = [](platform::Services &s) { return std::make_unique<Form3>(s); };
    factories_[TestWindow::Reaction] = [](platform::Services &s) { return std::make_unique<Form1>(s); };
    factories_[TestWindow::Memory] = [](platform::Services &s) { return std::make_unique<form2>(s); };
}

WindowRegistry::~WindowRegistry() = default;

Start &WindowRegistry::start()
{
    if (!start_) {
        start_ = std::make_unique<Start>(services_, *this);
        adopt(*start_);
    }
    return *start_;
}

platform::Window &WindowRegistry::test(TestWindow which)
{
    std::unique_ptr<platform::Window> &window = tests_[which];
    if (!window) {
        window = factories_.at(which)(services_);
        adopt(*window);
    }
    return *window;
}

void WindowRegistry::adopt(platform::Window &window)
{
    window.onUnloaded([this] { endWhenNothingIsLoaded(); });
}

void WindowRegistry::endWhenNothingIsLoaded()
{
    if (start_ && start_->isLoaded())
        return;
    for (const auto &[which, window] : tests_) {
        if (window->isLoaded())
            return;
    }
    services_.program.End();
}
