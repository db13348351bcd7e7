// The configuration file, as hostile text: read into Settings the way a start reads it,
// then written and read again the way the next start does.

#include <cmath>

#include "FuzzSupport.h"
#include "settings/ExclusionEntries.h"
#include "settings/SettingsFile.h"
#include "support/InMemoryConfigFiles.h"

namespace {

const std::wstring Path = L"C:\\Users\\fuzz\\AppData\\Roaming\\Velvetglide\\config.ini";

Settings ReadText(const std::wstring& text) {
    InMemoryConfigFiles files;
    files.files[Path] = text;
    Settings settings; // as the store constructs it, before the file is read
    settings.ExcludedApps = DefaultExcludedApps();
    ReadSettingsFile(files, Path, settings);
    return settings;
}

// A NaN ("Smoothing=nan") passes the clamp on purpose: the engine and the sliders guard against it.
bool InRange(double value, double minimum, double maximum) {
    return std::isnan(value) || (value >= minimum && value <= maximum);
}

void CheckRanges(const AxisSettings& axis) {
    using namespace SettingsLimits;
    FUZZ_CHECK(axis.Speed >= MinSpeed && axis.Speed <= MaxSpeed);
    FUZZ_CHECK(axis.DurationMs >= MinDurationMs && axis.DurationMs <= MaxDurationMs);
    FUZZ_CHECK(InRange(axis.Smoothing, MinSmoothing, MaxSmoothing));
    FUZZ_CHECK(InRange(axis.AccelStrength, MinAccelStrength, MaxAccelStrength));
}

// Reals are written with two decimals: they come back within half a hundredth.
bool SameReal(double before, double after) {
    if (std::isnan(before)) return std::isnan(after);
    return std::fabs(before - after) <= 0.005 + 1e-9;
}

bool SameAxis(const AxisSettings& a, const AxisSettings& b) {
    return a.Speed == b.Speed && a.DurationMs == b.DurationMs && a.AccelEnabled == b.AccelEnabled &&
           SameReal(a.Smoothing, b.Smoothing) && SameReal(a.AccelStrength, b.AccelStrength);
}

std::wstring Joined(const std::vector<std::wstring>& list) {
    std::wstring text;
    for (const std::wstring& entry : list) text += entry + L'\n';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Settings first = ReadText(Fuzz::FileText(data, size));
    CheckRanges(first.Vertical);
    CheckRanges(first.Horizontal);
    FUZZ_CHECK(first.ExcludedApps.size() <= static_cast<size_t>(MaxListEntriesRead));
    FUZZ_CHECK(first.ExcludedSites.size() <= static_cast<size_t>(MaxListEntriesRead));
    for (const std::wstring& app : first.ExcludedApps) FUZZ_CHECK(!app.empty());
    for (const std::wstring& site : first.ExcludedSites) FUZZ_CHECK(!site.empty());

    // What this start writes, the next start reads back: same switches and numbers, the same
    // applications, and the same sites up to what normalising a stored rule again gives.
    const std::wstring written = SerializeSettings(first);
    const Settings second = ReadText(written);
    FUZZ_CHECK(second.Enabled == first.Enabled, written);
    FUZZ_CHECK(SameAxis(second.Vertical, first.Vertical), written);
    FUZZ_CHECK(SameAxis(second.Horizontal, first.Horizontal), written);
    FUZZ_CHECK(second.ExcludedApps == first.ExcludedApps, Joined(first.ExcludedApps), Joined(second.ExcludedApps));
    std::vector<std::wstring> sitesAgain;
    for (const std::wstring& site : first.ExcludedSites) {
        std::wstring again = ExclusionRules::NormalizeSiteEntry(site);
        if (!again.empty()) sitesAgain.push_back(std::move(again));
    }
    FUZZ_CHECK(second.ExcludedSites == sitesAgain, Joined(first.ExcludedSites), Joined(second.ExcludedSites));
    return 0;
}
