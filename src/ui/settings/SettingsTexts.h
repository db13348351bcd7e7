#pragma once
// Everything the settings window says: its title, header, tabs, sections and page
// descriptions, the captions, cues and hints of its controls, the slider rows and the
// system block, what screen readers hear, and its dialogs. No windows.h, so the texts
// are checked natively.

#include <string>

#include "VelvetglideVersion.h"
#include "ui/settings/SettingsLayout.h"

inline constexpr wchar_t WindowTitle[] = L"Velvetglide — настройки";

// ---- header, tabs, sections, descriptions and footer ----

inline constexpr wchar_t ProgramName[] = L"Velvetglide";
inline constexpr wchar_t ProgramVersion[] = VG_VERSION_WIDE;
inline constexpr wchar_t HeaderSubtitle[] = L"Плавная прокрутка колесом мыши · версия " VG_VERSION_WIDE;
inline constexpr wchar_t FooterText[] = L"Настройки применяются сразу. Esc или крестик прячут окно в трей.";

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

// Sites shown as examples in the site page's cue, empty-list hint and description.
inline constexpr wchar_t ExampleSiteDomain[] = L"wikipedia.org";
inline constexpr wchar_t ExampleSiteAddress[] = L"github.com/explore";
// The sites page's description, naming the example domain and address.
std::wstring SitesDescription();

// ---- the controls ----

// The master switch's words beside its track.
inline constexpr wchar_t EnabledSwitchText[] = L"Включено";
inline constexpr wchar_t DisabledSwitchText[] = L"Выключено";

inline constexpr wchar_t AccelToggleText[] = L"Ускорять при быстром вращении колеса";
inline constexpr wchar_t AppListHint[] = L"Пока пусто. Добавьте программу ниже";
inline constexpr wchar_t AppEditCue[] = L"например, game.exe";
inline constexpr wchar_t AddText[] = L"Добавить";
inline constexpr wchar_t BrowseText[] = L"Обзор…";
inline constexpr wchar_t RemoveText[] = L"Удалить";
inline constexpr wchar_t SiteListHint[] = L"Пока пусто. Впишите сайт ниже, например wikipedia.org";
inline constexpr wchar_t SiteEditCue[] = L"например, wikipedia.org";
inline constexpr wchar_t AutostartToggleText[] = L"Запускать вместе с Windows (сразу в трей)";
inline constexpr wchar_t ResetText[] = L"Сбросить все настройки";
inline constexpr wchar_t HideToTrayText[] = L"Свернуть в трей";

// ---- slider rows ----

inline constexpr const wchar_t* SliderRowLabels[SliderRowCount] = {L"Скорость", L"Длительность анимации",
                                                                  L"Сглаживание", L"Сила ускорения"};
// The words of the value texts (SliderValues.h puts the numbers in).
inline constexpr wchar_t ValueSeparator[] = L"  ·  ";
inline constexpr wchar_t ApproximatelySign[] = L"≈";
inline constexpr wchar_t LinesUnit[] = L" строки";
inline constexpr wchar_t MillisecondsUnit[] = L" мс";
inline constexpr wchar_t TimesSign[] = L"×";
inline constexpr wchar_t UltraSoftSmoothing[] = L"ультрамягко";
inline constexpr wchar_t SilkySmoothing[] = L"шелковисто";
inline constexpr wchar_t ModerateSmoothing[] = L"умеренно";

// ---- the system block of the general page ----

// One label per row of the block (SettingsLayout.h). The fourth row counts how often
// the mouse hook had to be installed again after the system dropped it.
inline constexpr const wchar_t* SystemRowLabels[SystemRowCount] = {
    L"Частота экрана", L"Кадров анимации в секунду", L"Таймер", L"Восстановлений перехватчика", L"Файл настроек",
    L"Версия"};
inline constexpr int ConfigPathRow = 4;

// "144 Гц", or "не определена" when no rate was detected (below 1 Hz).
std::wstring RefreshRateText(int refreshHz);
std::wstring FrameRateText(int frameHz);
const wchar_t* TimerKindText(bool highResolution);

// ---- what screen readers hear beyond the painted texts ----

inline constexpr wchar_t TabStripName[] = L"Страницы настроек";
inline constexpr wchar_t ToggleAction[] = L"Переключить";
inline constexpr wchar_t PressAction[] = L"Нажать";
inline constexpr wchar_t SelectAction[] = L"Выбрать";

// ---- dialogs ----

inline constexpr wchar_t ResetQuestion[] = L"Сбросить все настройки, списки программ и сайтов к стандартным?";
inline constexpr wchar_t ResetCaption[] = L"Сброс настроек";
inline constexpr wchar_t AboutCaption[] = L"О программе Velvetglide";
inline constexpr wchar_t AboutText[] =
    L"Velvetglide v" VG_VERSION_WIDE L"\n\n"
    L"Плавная прокрутка колесом мыши во всех программах Windows 10/11.\n\n"
    L"• Кадры анимации с частотой монитора 144 / 180 / 240 / 360 Гц\n"
    L"• Таймер высокой точности вместо Sleep()\n"
    L"• Мягкий старт, скорость не сбрасывается между щелчками\n"
    L"• Горизонтальная прокрутка (Shift + колесо)\n"
    L"• Ctrl + колесо (масштаб) работает как обычно\n"
    L"• Исключения для программ и сайтов";
// The file dialog's filter: pairs of description and pattern, ending with an empty pair.
inline constexpr wchar_t BrowseFilter[] = L"Программы (*.exe)\0*.exe\0Все файлы (*.*)\0*.*\0";
