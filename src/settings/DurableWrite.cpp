#include "settings/DurableWrite.h"

bool WriteDurably(DurableWriteSteps& steps, const std::wstring& path, const std::string& bytes) {
    const std::wstring tmp = path + L".tmp";
    if (!steps.Create(tmp)) return false; // nothing was made
    const bool stored = steps.Write(bytes.data(), bytes.size()) && steps.Flush();
    steps.Close(); // before the move: a file held open cannot be renamed over another
    if (!stored || !steps.Replace(tmp, path)) {
        steps.Remove(tmp);
        return false;
    }
    return true;
}

std::string EncodeFileText(const std::wstring& text) {
    std::string bytes = {'\xFF', '\xFE'};
    bytes.reserve(2 + text.size() * 2);
    for (const wchar_t c : text) { // UTF-16 code units; wchar_t holds one on Windows
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}
