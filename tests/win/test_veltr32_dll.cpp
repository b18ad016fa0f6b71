// The built veltr32.dll as the program meets it: every operation by
// ordinal and by name, the 276-byte record, the combo box, and the
// program's loader with a good, a missing and a foreign library.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "listing/host_library.h"
#include "veltro_process_helper.h"

namespace {

typedef int(WINAPI *ParseFn)(void *, const char *, DWORD, const char *, const char *);
typedef const char *(WINAPI *NameFn)(DWORD);
typedef DWORD(WINAPI *CountFn)(void);
typedef int(WINAPI *FillFn)(HWND, int);

std::string LibraryPath() { return BuildFile("veltr32.dll"); }

class Veltr32Dll : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(LibraryPath().c_str());
        ASSERT_NE(module, nullptr) << "cannot load " << LibraryPath() << " error " << GetLastError();
    }
    void TearDown() override {
        if (module != nullptr) FreeLibrary(module);
    }
    FARPROC ByOrdinal(WORD ordinal) { return GetProcAddress(module, MAKEINTRESOURCEA(ordinal)); }
    // An operation by ordinal with its real type (through the generic
    // function type that every function pointer converts to).
    template <class Fn>
    Fn Op(WORD ordinal) {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(ByOrdinal(ordinal)));
    }
    HMODULE module = nullptr;
};

TEST_F(Veltr32Dll, EveryOperationByOrdinalAndByName) {
    const struct {
        WORD ordinal;
        const char *name;
    } exports[] = {
        {910, "ParseListingLine"},       {920, "HostTypeName"},           {922, "HostTypeCount"},
        {930, "FillHostTypeList"},       {940, "DetectHostTypeFromSyst"}, {950, "DetectHostTypeFromReply"},
        {500, "ShowAboutBox"},
    };
    for (const auto &e : exports) {
        FARPROC byOrdinal = ByOrdinal(e.ordinal);
        EXPECT_NE(byOrdinal, nullptr) << e.ordinal;
        EXPECT_EQ(byOrdinal, GetProcAddress(module, e.name)) << e.name;
    }
    EXPECT_EQ(ByOrdinal(911), nullptr);
}

TEST_F(Veltr32Dll, ParsedRecordHasTheAgreedLayout) {
    auto parse = Op<ParseFn>(910);
    ASSERT_NE(parse, nullptr);
    unsigned char record[276 + 32];
    memset(record, 0xCC, sizeof record);
    ASSERT_NE(parse(record, "-rw-r--r--  1 user group 5368709121 Jan 31  2021 big file.iso\r\n", 6000, "/", "u"), 0);
    EXPECT_STREQ((const char *)record, "big file.iso");
    uint16_t year;
    memcpy(&year, record + 256, 2);
    EXPECT_EQ(year, 2021);
    // month, day, hour, minute
    EXPECT_EQ(std::vector<int>(record + 258, record + 262), (std::vector<int>{1, 31, 0, 0}));
    uint32_t low, high;
    memcpy(&low, record + 264, 4);
    memcpy(&high, record + 268, 4);
    EXPECT_EQ(((uint64_t)high << 32) | low, 5368709121ull);
    EXPECT_EQ(record[272], 0);  // file
    for (size_t i = 276; i < sizeof record; i++) ASSERT_EQ(record[i], 0xCC) << "written past the record at " << i;

    ASSERT_NE(parse(record, "01-31-24  02:15PM       <DIR>          Program Files", 6015, "/", "u"), 0);
    EXPECT_STREQ((const char *)record, "Program Files");
    EXPECT_EQ(std::vector<int>({record[260], record[261], record[272]}), (std::vector<int>{14, 15, 4}));
    EXPECT_EQ(parse(record, "total 42", 6000, "/", "u"), 0);
    EXPECT_EQ(parse(record, "", 6000, nullptr, nullptr), 0);
}

TEST_F(Veltr32Dll, FillsARealComboBox) {
    auto fill = Op<FillFn>(930);
    auto name = Op<NameFn>(920);
    auto count = Op<CountFn>(922);
    ASSERT_TRUE(fill && name && count);
    HWND combo = CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 200, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(fill(combo, 1), (int)count());
    EXPECT_EQ(fill(combo, 1), (int)count());  // refilled, not doubled
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), (LRESULT)count());
    for (DWORD i = 0; i < count(); i++) {
        DWORD code = (DWORD)SendMessageA(combo, CB_GETITEMDATA, i, 0);
        EXPECT_EQ(code & 0xFFFF, 6000 + i);
        char text[128] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
        EXPECT_STREQ(text, name(code));
    }
    DestroyWindow(combo);
    EXPECT_EQ(fill(nullptr, 1), 0);
}

TEST(HostLibraryLoader, GoodLibraryAnswersThroughTheWrappers) {
    char error[512] = "x";
    ASSERT_EQ(LoadHostLibraryFrom(LibraryPath().c_str(), error, sizeof error), 1) << error;
    EXPECT_EQ(error[0], 0);
    EXPECT_TRUE(HostLibraryLoaded());
    EXPECT_GE(HostTypeCount(), 60u);
    EXPECT_EQ(HostDetectFromSyst("215 Windows_NT", 6000), 6015u);
    FreeHostLibrary();
    EXPECT_FALSE(HostLibraryLoaded());
}

TEST(HostLibraryLoader, MissingOrForeignLibraryIsNamedAndHarmless) {
    char error[512];
    EXPECT_EQ(LoadHostLibraryFrom("Z:\\no\\such\\folder\\veltr32.dll", error, sizeof error), 0);
    EXPECT_NE(strstr(error, "veltr32.dll"), nullptr) << error;
    EXPECT_NE(strstr(error, "could not be loaded"), nullptr) << error;

    // A real library that is not ours lacks the operations.
    EXPECT_EQ(LoadHostLibraryFrom("version.dll", error, sizeof error), 0);
    EXPECT_NE(strstr(error, "version.dll"), nullptr) << error;
    EXPECT_NE(strstr(error, "910"), nullptr) << error;

    // Everything still answers, as for an unknown server.
    EXPECT_FALSE(HostLibraryLoaded());
    ListingEntry e;
    memset(&e, 0x55, sizeof e);
    EXPECT_EQ(HostParseListingLine(&e, "-rw-r--r-- 1 u g 1 Jan 31 12:00 f", 6000, "/", "u"), 0);
    EXPECT_EQ(e.name[0], 0);
    EXPECT_STREQ(HostTypeName(6011), "Automatic");
    EXPECT_EQ(HostTypeCount(), 1u);
    EXPECT_EQ(HostDetectFromSyst("215 UNIX Type: L8", 6000), 6000u);
    EXPECT_EQ(HostDetectFromReply("220 Microsoft FTP Service", 6000), 6000u);
    EXPECT_EQ(HostShowAboutBox(nullptr), -1);
    HWND combo = CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 200, 300, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(HostFillHostTypeList(combo, 1), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 0, 0), 6000);
    DestroyWindow(combo);
}

}  // namespace
