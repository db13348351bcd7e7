#pragma once
// The texts inside the cards of each page; used by the page painter only.

#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/PagePainter.h"

// The current page's section headers, slider rows, description or system block.
void PaintPageContent(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts);
