#include <gtest/gtest.h>

#include "settings/DurableWrite.h"

namespace {

// Records the steps in order; the step named `failing` fails.
class RecordedSteps : public DurableWriteSteps {
public:
    explicit RecordedSteps(std::string failing) : failing_(std::move(failing)) {}
    std::string log;
    std::string data;

    bool Create(const std::wstring& tmp) override { return Step("create", tmp == L"C:\\cfg.ini.tmp"); }
    bool Write(const void* bytes, size_t size) override {
        data.assign(static_cast<const char*>(bytes), size);
        return Step("write");
    }
    bool Flush() override { return Step("flush"); }
    void Close() override { Step("close"); }
    bool Replace(const std::wstring& tmp, const std::wstring& path) override {
        return Step("replace", tmp == L"C:\\cfg.ini.tmp" && path == L"C:\\cfg.ini");
    }
    void Remove(const std::wstring&) override { Step("remove"); }

private:
    bool Step(const char* name, bool argumentsRight = true) {
        log += log.empty() ? name : std::string(" ") + name;
        return argumentsRight && failing_ != name;
    }
    std::string failing_;
};

} // namespace

// The data reaches the disk before the name moves to it, and every failure removes the
// temporary file without touching the old one.
TEST(DurableWriteTest, FlushComesBeforeTheMoveAndEveryFailureCleansUp) {
    struct Case {
        const char* failing;
        bool result;
        const char* steps;
    };
    for (const Case& c : {Case{"", true, "create write flush close replace"}, Case{"create", false, "create"},
                          Case{"write", false, "create write close remove"},
                          Case{"flush", false, "create write flush close remove"},
                          Case{"replace", false, "create write flush close replace remove"}}) {
        RecordedSteps steps(c.failing);
        EXPECT_EQ(WriteDurably(steps, L"C:\\cfg.ini", EncodeFileText(L"Я=1\r\n")), c.result) << c.failing;
        EXPECT_EQ(steps.log, c.steps) << c.failing;
        if (c.result) {
            EXPECT_EQ(steps.data, std::string("\xFF\xFE\x2F\x04=\0001\0\r\0\n\0", 12)); // "Я=1" CR LF, UTF-16LE
        }
    }
}
