#ifndef VELVETGLIDE_RESOURCE_IDS_H
#define VELVETGLIDE_RESOURCE_IDS_H
// Ids of the program's resources, for Velvetglide.rc and for the code that loads them.
// Plain macros: the resource compiler reads this file too.

#define IDI_VELVETGLIDE 101      // the colour application icon
#define IDI_TRAY_GLYPH_WHITE 102 // the tray glyph for a dark taskbar
#define IDI_TRAY_GLYPH_BLACK 103 // the tray glyph for a light taskbar

#endif
