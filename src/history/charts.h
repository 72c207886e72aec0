// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/services.h"

#include <QList>

class QChart;

// The two pictures of the "Verlauf" window. Each call replaces what the chart
// showed before; the series carry object names so that tests find them.
namespace history {

// Every result as a point over time ("results"), the running median of the
// last ten as a line ("median"), and the best one marked ("best").
void showProgress(QChart *chart, platform::Test test, const QList<platform::Outcome> &outcomes);

// How often each reaction time came ("histogram"), their median ("median"),
// and every other verdict band shaded, so that a player sees which comment a
// time earns.
void showSpread(QChart *chart, const QList<double> &seconds);

} // namespace history
