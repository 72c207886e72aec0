// SPDX-License-Identifier: GPL-3.0-or-later

#include "reaction/verdicts.h"

#include "platform/runtime.h"

#include <algorithm>
#include <array>

namespace reaction {

namespace {

const std::array<QString, verdictCount> verdicts = {
    QStringLiteral(" Sie sind der Knaller, das macht Ihnen so schnell keiner nach "),
    QStringLiteral(" Wahnsinn!, mit solch einer Reaktion sollten Sie Rennfahrer werden "),
    QStringLiteral(" Super diese Zeit wird wohl so schnell keiner unterbieten! "),
    QStringLiteral(" Hervorragende Zeit. Sie sind echt gut "),
    QStringLiteral(" Einfach Klasse, total schnelle Reaktion! "),
    QStringLiteral(" Das ist ein guter Durchschnitt! "),
    QStringLiteral(" An dieser Zeit ist nichts auzusetzen! "),
    QStringLiteral(" Na ja das können Sie bestimmt noch besser! "),
    QStringLiteral(" Versuchen Sie es noch einmal, vielleicht hatten Sie eben einen kleinen Durchhänger! "),
    QStringLiteral(" Ich hoffe mal dass Sie keinen Führerschein besitzen! "),
    QStringLiteral(" Meine Oma hätte das besser hingekriegt! "),
    QStringLiteral(" Falls Sie im Besitz einer Fahrerlaubnis sind geben Sie bitte diese sofort ab!!! "),
    QStringLiteral(" Also viel langsamer kann man nicht mehr reagieren! "),
    QStringLiteral(" Das scheint ja zwecklos bei Ihnen zu sein, Raktion gehört wohl nicht zu Ihren guten "
                   "Eigenschaften! "),
    QStringLiteral(" Mann, das war absolut schlecht! "),
    QStringLiteral(" Aufhören, dieses Programm ist ein Reaktionstest und kein Einschlaftest! "),
};

// Lower bounds of the bands, as floats: the time is a float, and comparing it
// with a double bound would move 0.7f (just below the double 0.7) down a band.
constexpr std::array bandBounds = { 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f };

} // namespace

const QString &verdictText(short index)
{
    return verdicts.at(static_cast<std::size_t>(index));
}

short verdictIndex(float seconds, platform::Random &random)
{
    // The band is the number of bounds the time has reached.
    const auto band = std::upper_bound(bandBounds.begin(), bandBounds.end(), seconds) - bandBounds.begin();
    if (band == 0)
        return 0; // below 0.1 s, negative times too
    if (band == std::ssize(bandBounds))
        return verdictCount - 1; // 0.8 s and slower
    const double firstOfBand = double(2 * band - 1);
    return short(platform::Int(2.0 * double(random.Rnd()) + firstOfBand));
}

} // namespace reaction
