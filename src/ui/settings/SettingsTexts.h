#pragma once
// The texts the page painter draws: header, tabs, section headers, descriptions,
// the system block and the footer. No windows.h, so they are checked natively.

#include <string>

#include "VelvetglideVersion.h"
#include "ui/settings/SettingsLayout.h"

inline constexpr wchar_t ProgramName[] = L"Velvetglide";
inline constexpr wchar_t ProgramVersion[] = VG_VERSION_WIDE;
inline constexpr wchar_t HeaderSubtitle[] = L"Плавная прокрутка колесом мыши · версия " VG_VERSION_WIDE;
inline constexpr wchar_t FooterText[] = L"Настройки применяются сразу. Esc или крестик прячут окно в трей.";

// The master switch's words beside its track.
inline constexpr wchar_t EnabledSwitchText[] = L"Включено";
inline constexpr wchar_t DisabledSwitchText[] = L"Выключено";

inline constexpr const wchar_t* TabCaptions[PageCount] = {L"Вертикаль", L"Горизонталь", L"Программы", L"Сайты",
                                                         L"Общие"};

inline constexpr wchar_t ScrollingSection[] = L"ПРОКРУТКА";
inline constexpr wchar_t HorizontalScrollingSection[] = L"ГОРИЗОНТАЛЬНАЯ ПРОКРУТКА";
inline constexpr wchar_t HorizontalScrollingNote[] = L"Shift + колесо или наклон колёсика вбок";
inline constexpr wchar_t AccelerationSection[] = L"УСКОРЕНИЕ";
inline constexpr wchar_t ProgramsSection[] = L"ПРОГРАММЫ";
inline constexpr wchar_t SitesSection[] = L"САЙТЫ";
inline constexpr wchar_t StartupSection[] = L"ЗАПУСК";
inline constexpr wchar_t SystemSection[] = L"СИСТЕМА";

inline constexpr wchar_t ProgramsDescription[] =
    L"Здесь колесо работает как обычно, без сглаживания. Пригодится для игр, 3D-редакторов и CAD. "
    L"Можно ввести имя (blender) или выбрать exe через «Обзор».";
// The sites page's description, naming the example domain and address.
std::wstring SitesDescription();

// The system block of the general page: six label rows. The fourth counts how often
// the mouse hook had to be installed again after the system dropped it.
inline constexpr int SystemRowCount = 6;
inline constexpr const wchar_t* SystemRowLabels[SystemRowCount] = {
    L"Частота экрана", L"Кадров анимации в секунду", L"Таймер", L"Восстановлений перехватчика", L"Файл настроек",
    L"Версия"};
inline constexpr int ConfigPathRow = 4;

// "144 Гц", or "не определена" when no rate was detected (below 1 Hz).
std::wstring RefreshRateText(int refreshHz);
std::wstring FrameRateText(int frameHz);
const wchar_t* TimerKindText(bool highResolution);
