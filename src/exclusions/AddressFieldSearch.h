#pragma once
// Finds the address field of a Chromium-family browser window in its UI Automation
// tree: an Edit element of class "OmniboxViewViews".

#include <functional>

#include "exclusions/AutomationTree.h"

inline constexpr int AddressFieldSearchBound = 600; // elements examined at most

// Asked between automation calls: true ends the search at once (the program is exiting).
using StopRequested = std::function<bool()>;

// Depth first, in pre-order, without descending into web content, documents, tab
// strips or the bookmarks bar. The found element is kept (the caller owns it); every
// other reference obtained is released. Empty when nothing was found within the bound
// or the search was stopped.
ElementRef FindAddressField(AutomationTree& tree, WindowId window, const StopRequested& stop = {});
