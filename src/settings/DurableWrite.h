#pragma once
// How a file is replaced so that neither a crash nor a power cut loses it: the whole
// new contents go into a temporary file beside it, are flushed to the disk, and only
// then take the old file's name in one atomic move. A journaling file system records
// the rename but not the data, so without the flush the name could survive a power
// cut pointing at empty or zeroed blocks. The steps are an interface so that their
// order, and the clean-up on every failure, are checked without a disk.

#include <cstddef>
#include <string>

class DurableWriteSteps {
public:
    virtual ~DurableWriteSteps() = default;
    virtual bool Create(const std::wstring& tmpPath) = 0; // new and empty, no sharing
    virtual bool Write(const void* data, size_t size) = 0;
    virtual bool Flush() = 0; // the data on the disk, not only in the cache
    virtual void Close() = 0;
    virtual bool Replace(const std::wstring& tmpPath, const std::wstring& path) = 0; // atomic, write-through
    virtual void Remove(const std::wstring& tmpPath) = 0;
};

// Writes bytes to path + ".tmp", flushes and closes it, and moves it over path. On any
// failure the temporary file is removed and the file at path is left as it was.
bool WriteDurably(DurableWriteSteps& steps, const std::wstring& path, const std::string& bytes);

// The bytes a save writes for a text: the byte-order mark, then UTF-16LE code units.
std::string EncodeFileText(const std::wstring& text);
