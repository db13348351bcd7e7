#pragma once
// Text forms of application and site exclusions as the settings keep them, and the
// normal form of a browser address. Pure string work: no state, no lock, any thread.
// How a stored rule matches an address or a title is the exclusions' business.

#include <string>
#include <string_view>

namespace ExclusionRules {

// A typed or stored application entry → its file name ("C:\x\Game" → "Game.exe"),
// letter case kept; empty when the entry is rejected (nothing left, longer than a file
// name can be, or a line break inside).
std::wstring NormalizeAppEntry(std::wstring_view entry);

// A typed or stored site entry → a lower-case rule: a host, host + path, or words
// of a tab title; a pasted address with a scheme keeps its host only. Empty: rejected
// (a line break inside is rejected too: the file holds one rule per line).
std::wstring NormalizeSiteEntry(std::wstring_view entry);

// An address as a browser shows it → lower-case host + path without scheme, "www.",
// port, query, fragment or trailing "/". Empty when it is no address (a search phrase, or
// a tab or line break inside).
std::wstring NormalizeAddress(std::wstring_view address);

// Process names and application removals are trimmed of blanks and quotes.
std::wstring_view TrimAppText(std::wstring_view text);

} // namespace ExclusionRules
