#pragma once
// Everything the tray icon says: its tooltip and its context menu.

inline constexpr wchar_t TrayTooltipEnabled[] = L"Velvetglide - Включено";
inline constexpr wchar_t TrayTooltipDisabled[] = L"Velvetglide (Отключено)";

inline constexpr wchar_t TrayMenuToggleText[] = L"Плавная прокрутка активна";
inline constexpr wchar_t TrayMenuSettingsText[] = L"Настройки...";
inline constexpr wchar_t TrayMenuAboutText[] = L"О программе...";
inline constexpr wchar_t TrayMenuExitText[] = L"Выход";
