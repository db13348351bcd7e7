#include "ui/settings/SettingsTexts.h"

std::wstring SitesDescription() {
    std::wstring text = L"Домен (";
    text += ExampleSiteDomain;
    text += L"), адрес с путём (";
    text += ExampleSiteAddress;
    // The no-break space keeps "В" on the line of "Firefox".
    text += L") или слово из заголовка вкладки. В\u00A0Firefox сайт узнаётся только по заголовку вкладки.";
    return text;
}

std::wstring RefreshRateText(int refreshHz) {
    if (refreshHz < 1) return L"не определена";
    return std::to_wstring(refreshHz) + L" Гц";
}

std::wstring FrameRateText(int frameHz) { return std::to_wstring(frameHz); }

const wchar_t* TimerKindText(bool highResolution) { return highResolution ? L"высокой точности" : L"обычный"; }
