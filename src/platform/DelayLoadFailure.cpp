#include "platform/DelayLoadFailure.h"

#include <algorithm>
#include <iterator>

namespace {

struct Optional {
    std::string_view dll, function;
    OptionalImport standIn;
};

constexpr Optional OptionalImports[] = {
    {"comctl32.dll", "LoadIconMetric", OptionalImport::LoadIconMetric},
    {"comctl32.dll", "SetWindowSubclass", OptionalImport::SetWindowSubclass},
    {"comctl32.dll", "RemoveWindowSubclass", OptionalImport::RemoveWindowSubclass},
    {"dwmapi.dll", "DwmSetWindowAttribute", OptionalImport::DwmSetWindowAttribute},
    {"dwmapi.dll", "DwmGetCompositionTimingInfo", OptionalImport::DwmGetCompositionTimingInfo},
    {"uxtheme.dll", "SetWindowTheme", OptionalImport::SetWindowTheme},
    {"winmm.dll", "timeBeginPeriod", OptionalImport::TimeBeginPeriod},
    {"winmm.dll", "timeEndPeriod", OptionalImport::TimeEndPeriod},
    {"oleacc.dll", "CreateStdAccessibleObject", OptionalImport::CreateStdAccessibleObject},
    {"oleacc.dll", "LresultFromObject", OptionalImport::LresultFromObject},
    {"oleacc.dll", "AccessibleObjectFromWindow", OptionalImport::AccessibleObjectFromWindow},
    {"comdlg32.dll", "GetOpenFileNameW", OptionalImport::GetOpenFileNameW},
};

// File names compare without regard to ASCII letter case (import tables spell them either way).
bool SameFileName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

} // namespace

OptionalImport FindOptionalImport(std::string_view dll, std::string_view function) {
    const auto found = std::find_if(std::begin(OptionalImports), std::end(OptionalImports), [&](const Optional& entry) {
        return entry.function == function && SameFileName(entry.dll, dll);
    });
    return found == std::end(OptionalImports) ? OptionalImport::None : found->standIn;
}

std::wstring MissingImportMessage(std::string_view dll, std::string_view function) {
    const std::wstring missing = function.empty()
                                     ? L"Не удалось загрузить системную библиотеку " + Widen(dll)
                                     : L"В системной библиотеке " + Widen(dll) + L" нет функции " + Widen(function);
    return missing + L", без которой Velvetglide не может работать. Программа будет закрыта.";
}
