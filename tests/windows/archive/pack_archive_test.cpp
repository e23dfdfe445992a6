// Brimlet's packed firmware archive classes under Wine: the shipped BootCode.r unpacked by
// CPackArchive into a folder of 65 images with their sizes and tags, crafted archives (hostile
// names, cut short, damaged members), the writer side, the resource opener, and the gzip file
// class against zlib's own writer, and the folder maker, whose failure ends the process (seen
// from a child run of this program). BootCode.r lies beside this program; the resource RFILE 77
// holds a copy of it.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "brimlet/archive/gzip_file.h"
#include "brimlet/archive/pack_archive.h"
#include "core/archive/format.h"
#include "tests/native/archive/support/shipped_names.h"
#include "tests/windows/support/files.h"

namespace {

using archive::EntryResult;
using Bytes = std::vector<unsigned char>;
using test_support::ProgramFolder;
using test_support::RemoveTree;

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file below `folder`, relative, with backslashes.
void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& files)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + "\\" + name, prefix + name + "\\", files);
        else
            files.push_back(prefix + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
}

// A sandbox under %TEMP% holding RadAva\ (the work folder) and RadAva\Boot\ as the target.
class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        sandbox_ = std::string(temp) + "archive_test_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
        CreateDirectoryA(sandbox_.c_str(), nullptr);
        work_ = sandbox_ + "\\RadAva";
        CreateDirectoryA(work_.c_str(), nullptr);
        base_ = work_ + "\\Boot\\";
    }
    void TearDown() override { RemoveTree(sandbox_); }

    std::string Archive(const Bytes& bytes, const char* name = "test.r")
    {
        const std::string path = work_ + "\\" + name;
        WriteBytes(path, bytes);
        return path;
    }

    // Opens, rewinds and extracts every entry into base_; the count of entries read.
    int ExtractAll(CPackArchive& archive, const std::string& path)
    {
        EXPECT_TRUE(archive.OpenArchiveFile(path.c_str(), FALSE)) << path;
        archive.m_strBaseDirectory = base_.c_str();
        EXPECT_TRUE(archive.RewindArchive());
        int entries = 0;
        while (archive.ExtractNextEntry() == 1)
            ++entries;
        return entries;
    }

    std::string sandbox_;
    std::string work_;
    std::string base_;
};

Bytes Member(const Bytes& content)
{
    // zlib's own writer, through a file, as CompressFile and the archive writer use it.
    char temp[MAX_PATH] = {}, plain[MAX_PATH] = {}, packed[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "p", 0, plain);
    GetTempFileNameA(temp, "g", 0, packed);
    WriteBytes(plain, content);
    EXPECT_TRUE(CompressFile(plain, packed));
    Bytes member = ReadBytes(packed);
    DeleteFileA(plain);
    DeleteFileA(packed);
    return member;
}

Bytes Entry(const std::string& name, const Bytes& data)
{
    Bytes entry = archive::EncodeEntryHead(name, static_cast<std::uint32_t>(data.size()));
    entry.insert(entry.end(), data.begin(), data.end());
    return entry;
}

Bytes Entry(const std::string& name, const std::string& content) { return Entry(name, Member(Bytes(content.begin(), content.end()))); }

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// --- the shipped archive -----------------------------------------------------------------

TEST_F(ArchiveTest, UnpacksTheShippedArchiveIntoSixtyFiveImagesWithTheirTags)
{
    const std::string path = work_ + "\\BootCode.r";
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "BootCode.r").c_str(), path.c_str(), FALSE));
    // Temporary files of our own, apart from those of other programs.
    const std::string tmp = sandbox_ + "\\tmp";
    CreateDirectoryA(tmp.c_str(), nullptr);
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    SetEnvironmentVariableA("TMP", tmp.c_str());
    CPackArchive archive;
    ASSERT_TRUE(archive.OpenArchiveFile(path.c_str(), FALSE));
    archive.m_strBaseDirectory = base_.c_str();
    ASSERT_TRUE(archive.RewindArchive());
    int entries = 0;
    int progress = 0;
    while (archive.ExtractNextEntry() == 1) {
        ++entries;
        const int now = archive.GetArchiveProgress();
        EXPECT_GE(now, progress);
        progress = now;
    }
    EXPECT_EQ(entries, 65);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End) << "a clean end";
    EXPECT_EQ(archive.GetEntriesNotWritten(), 0);
    EXPECT_TRUE(archive.CloseArchive());
    EXPECT_EQ(archive.GetArchiveProgress(), -1);

    std::vector<std::string> files;
    ListFiles(work_ + "\\Boot", "", files);
    EXPECT_EQ(files.size(), 65u);
    for (const auto& expected : shipped::kEntries) {
        const Bytes image = ReadBytes(base_ + expected.name);
        ASSERT_EQ(image.size(), expected.size) << expected.name;
        if (*expected.tag) {
            EXPECT_EQ(std::string(image.begin() + shipped::kTagOffset, image.begin() + shipped::kTagOffset + 8), expected.tag)
                << expected.name;
        }
    }
    SetEnvironmentVariableA("TMP", saved);
    std::vector<std::string> left;
    ListFiles(tmp, "", left);
    EXPECT_TRUE(left.empty()) << "a temporary file is left behind: " << left.front();
}

TEST_F(ArchiveTest, TheResourceOpenerReadsTheSameArchive)
{
    CPackArchive archive;
    EXPECT_FALSE(archive.OpenArchiveResource(78)) << "no such resource";
    ASSERT_TRUE(archive.OpenArchiveResource(77));
    EXPECT_TRUE(archive.m_bFromResource);
    archive.m_strBaseDirectory = base_.c_str();
    int entries = 0;
    while (archive.ExtractNextEntry() == 1)
        ++entries;
    EXPECT_EQ(entries, 65);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_FALSE(archive.AddArchiveEntry("A1\\ur.bin")) << "a resource is read only";
    EXPECT_TRUE(archive.RewindArchive());
    EXPECT_EQ(archive.GetArchiveProgress(), 0);
}

// --- opening -----------------------------------------------------------------------------

TEST_F(ArchiveTest, OpeningAddsTheExtensionAndTrimsTrailingBlanks)
{
    Archive(Entry("a.bin", "a"), "BootCode.r");
    const std::string stem = work_ + "\\BootCode";
    const struct {
        std::string path;
        BOOL opens;
    } cases[] = {
        {stem + ".r", TRUE},
        {stem, TRUE},
        {stem + ".r  \t", TRUE},
        {stem + ".R", FALSE},  // becomes BootCode.R.r, which does not exist
        {work_ + "\\missing", FALSE},
    };
    for (const auto& c : cases) {
        CPackArchive archive;
        EXPECT_EQ(archive.OpenArchiveFile(c.path.c_str(), FALSE), c.opens) << c.path;
        EXPECT_EQ(archive.m_bOpen, c.opens != FALSE) << c.path;
    }
    CPackArchive created;
    EXPECT_TRUE(created.OpenArchiveFile((work_ + "\\new").c_str(), TRUE));
    EXPECT_TRUE(Exists(work_ + "\\new.r"));
    // Opening again closes the first stream: the file is not held twice.
    EXPECT_TRUE(created.OpenArchiveFile((stem + ".r").c_str(), FALSE));
    EXPECT_TRUE(DeleteFileA((work_ + "\\new.r").c_str()));
}

TEST_F(ArchiveTest, AnEmptyArchiveHasNoEntryAndAFullProgress)
{
    CPackArchive archive;
    EXPECT_EQ(archive.GetArchiveProgress(), -1);
    EXPECT_EQ(ExtractAll(archive, Archive({})), 0);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(archive.GetArchiveProgress(), 100) << "no division by zero";
    CPackArchive closed;
    EXPECT_FALSE(closed.RewindArchive());
    EXPECT_EQ(closed.ExtractNextEntry(), 0);
    EXPECT_EQ(closed.GetLastEntryResult(), EntryResult::NotOpen);
}

// --- crafted archives --------------------------------------------------------------------

TEST_F(ArchiveTest, HostileNamesWriteNothingAndTheNextEntryStillLands)
{
    const std::string longName = std::string(archive::kMaxPath - base_.size(), 'L');
    CPackArchive archive;
    const int entries = ExtractAll(archive, Archive(Join({Entry("..\\evil1.bin", "x"), Entry("A1\\..\\..\\evil2.bin", "x"),
                                                          Entry("A1/../../evil3.bin", "x"), Entry("\\evil4.bin", "x"),
                                                          Entry(base_.substr(0, 2) + "\\evil5.bin", "x"), Entry("NUL", "x"),
                                                          Entry("A1\\con.bin", "x"), Entry(longName, "x"),
                                                          Entry("FP\\A2C\\us.bin", "deep")})));
    EXPECT_EQ(entries, 9);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(archive.GetEntriesNotWritten(), 8);
    archive.CloseArchive();
    std::vector<std::string> files;
    ListFiles(sandbox_, "", files);
    EXPECT_EQ(files, (std::vector<std::string>{"RadAva\\Boot\\FP\\A2C\\us.bin", "RadAva\\test.r"}));
    EXPECT_EQ(Text(ReadBytes(base_ + "FP\\A2C\\us.bin")), "deep");
    EXPECT_FALSE(Exists(base_ + longName.substr(0, 200)));
}

TEST_F(ArchiveTest, ACutArchiveIsToldFromACleanEnd)
{
    const Bytes good = Join({Entry("A1\\one.bin", "one"), Entry("A1\\two.bin", "two")});
    Bytes nameCut = Join({good, Bytes{'A', '1', '\\', 'x'}});
    Bytes lengthCut = Join({good, archive::EncodeEntryHead("A1\\x.bin", 5)});
    lengthCut.resize(lengthCut.size() - 2);
    Bytes dataCut = Join({good, Entry("A1\\three.bin", "three")});
    dataCut.resize(dataCut.size() - 3);
    const struct {
        const char* what;
        Bytes bytes;
        EntryResult last;
    } cases[] = {
        {"clean end", good, EntryResult::End},
        {"name cut short", nameCut, EntryResult::Truncated},
        {"length cut short", lengthCut, EntryResult::Truncated},
        {"data cut short", dataCut, EntryResult::Truncated},
    };
    for (const auto& c : cases) {
        RemoveTree(work_ + "\\Boot");
        CPackArchive archive;
        EXPECT_EQ(ExtractAll(archive, Archive(c.bytes)), 2) << c.what;
        EXPECT_EQ(archive.GetLastEntryResult(), c.last) << c.what;
        EXPECT_EQ(Text(ReadBytes(base_ + "A1\\two.bin")), "two") << "entries before the cut stay: " << c.what;
        EXPECT_FALSE(Exists(base_ + "A1\\three.bin")) << c.what;
    }
}

TEST_F(ArchiveTest, ADamagedMemberLeavesTheImageOnDiskAsItWas)
{
    std::string image;
    unsigned state = 12345;
    for (int i = 0; i < 5000; ++i) {
        state = state * 1103515245u + 12345u;
        image += static_cast<char>('a' + (state >> 16) % 26);
    }
    Bytes damaged = Entry("A1\\us.bin", image);
    ASSERT_GT(damaged.size(), 2000u);
    damaged[damaged.size() / 2] ^= 0x55;  // inside the deflate data
    CreateDirectoryA((work_ + "\\Boot").c_str(), nullptr);
    CreateDirectoryA((base_ + "A1").c_str(), nullptr);
    WriteBytes(base_ + "A1\\us.bin", Bytes{'o', 'l', 'd'});
    CPackArchive archive;
    EXPECT_EQ(ExtractAll(archive, Archive(Join({damaged, Entry("A1\\ust.bin", "next")}))), 2);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(archive.GetEntriesNotWritten(), 1);
    EXPECT_EQ(Text(ReadBytes(base_ + "A1\\us.bin")), "old");
    EXPECT_EQ(Text(ReadBytes(base_ + "A1\\ust.bin")), "next");
}

TEST_F(ArchiveTest, EmptyMembersGiveEmptyFiles)
{
    CPackArchive archive;
    EXPECT_EQ(ExtractAll(archive, Archive(Join({archive::EncodeEntryHead("A1\\zero.bin", 0), Entry("A1\\nothing.bin", "")}))), 2);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(archive.GetEntriesNotWritten(), 0);
    ASSERT_TRUE(Exists(base_ + "A1\\zero.bin"));
    EXPECT_TRUE(ReadBytes(base_ + "A1\\zero.bin").empty());
    ASSERT_TRUE(Exists(base_ + "A1\\nothing.bin"));
    EXPECT_TRUE(ReadBytes(base_ + "A1\\nothing.bin").empty());
}

TEST_F(ArchiveTest, TemporaryFilesGoWhereTmpSaysOrBesideTheTarget)
{
    const std::string tmp = sandbox_ + "\\tmp";
    CreateDirectoryA(tmp.c_str(), nullptr);
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    const Bytes bytes = Entry("A1\\t.bin", "t");
    for (const std::string& value : {tmp, sandbox_ + "\\no such folder"}) {
        RemoveTree(work_ + "\\Boot");
        SetEnvironmentVariableA("TMP", value.c_str());
        CPackArchive archive;
        EXPECT_EQ(ExtractAll(archive, Archive(bytes)), 1) << value;
        EXPECT_EQ(Text(ReadBytes(base_ + "A1\\t.bin")), "t");
        std::vector<std::string> left;
        ListFiles(tmp, "", left);
        EXPECT_TRUE(left.empty()) << "temporary file left: " << left.front();
        std::vector<std::string> unpacked;
        ListFiles(work_ + "\\Boot", "", unpacked);
        EXPECT_EQ(unpacked, std::vector<std::string>{"A1\\t.bin"}) << value;
    }
    SetEnvironmentVariableA("TMP", saved);
}

// The message box a target that cannot be created raises, read and closed from a second
// thread while the test thread sits in it.
struct BoxWatch {
    DWORD thread;
    std::string text;
    std::string caption;
    HANDLE done;
};

BOOL CALLBACK ReadStatic(HWND child, LPARAM data)
{
    char name[32] = {}, text[512] = {};
    GetClassNameA(child, name, sizeof name);
    GetWindowTextA(child, text, sizeof text);
    auto* watch = reinterpret_cast<BoxWatch*>(data);
    if (lstrcmpiA(name, "Static") == 0 && std::strlen(text) > watch->text.size())
        watch->text = text;
    return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM data)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    auto* watch = reinterpret_cast<BoxWatch*>(data);
    char caption[1024] = {};
    GetWindowTextA(window, caption, sizeof caption);
    watch->caption = caption;
    EnumChildWindows(window, ReadStatic, data);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

DWORD WINAPI WatchForBox(void* data)
{
    auto* watch = static_cast<BoxWatch*>(data);
    for (int i = 0; i < 500 && watch->caption.empty(); ++i) {
        if (WaitForSingleObject(watch->done, 20) == WAIT_OBJECT_0)
            break;
        EnumThreadWindows(watch->thread, FindBox, reinterpret_cast<LPARAM>(watch));
    }
    return 0;
}

TEST_F(ArchiveTest, ATargetThatCannotBeCreatedIsReportedAndSkipped)
{
    const Bytes bytes = Join({Entry("A1\\us.bin", "blocked"), Entry("A1\\ust.bin", "next")});
    // A folder stands where the file should go.
    CreateDirectoryA((work_ + "\\Boot").c_str(), nullptr);
    CreateDirectoryA((base_ + "A1").c_str(), nullptr);
    CreateDirectoryA((base_ + "A1\\us.bin").c_str(), nullptr);
    BoxWatch watch{GetCurrentThreadId(), {}, {}, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE watcher = CreateThread(nullptr, 0, WatchForBox, &watch, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    CPackArchive archive;
    EXPECT_EQ(ExtractAll(archive, Archive(bytes)), 2);
    SetEvent(watch.done);
    WaitForSingleObject(watcher, 15000);
    CloseHandle(watcher);
    CloseHandle(watch.done);
    EXPECT_EQ(watch.text, "Failed to open file to decompress");
    const std::string target = base_ + "A1\\us.bin";
    ASSERT_GT(watch.caption.size(), target.size());
    EXPECT_EQ(watch.caption.substr(watch.caption.size() - target.size()), target)
        << "the caption is the source path followed by the target: " << watch.caption;
    EXPECT_EQ(archive.GetEntriesNotWritten(), 1);
    EXPECT_EQ(Text(ReadBytes(base_ + "A1\\ust.bin")), "next");
}

TEST_F(ArchiveTest, NamesWindowsCannotCreateAreSkippedWithoutEndingTheProgram)
{
    // Base folder + this folder part: 248 characters, one more than CreateDirectory takes; the
    // whole path stays below 260.
    const std::string longFolder(archive::kMaxFolderPath - base_.size(), 'F');
    ASSERT_LT(base_.size() + longFolder.size() + 7, archive::kMaxPath);
    const std::vector<std::string> names = {
        "A<1\\us.bin", "A1>\\us.bin", "A\"1\"\\us.bin", "A1|\\us.bin", "A1?\\us.bin", "A1*\\us.bin",
        "A\x01\\us.bin", "A1\\us?.bin", "A1\\us\t.bin", "A1/FP\\us.bin", longFolder + "\\us.bin",
    };
    Bytes bytes;
    for (const std::string& name : names) {
        const Bytes entry = Entry(name, "x");
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    }
    const Bytes good = Entry("FP\\A2C\\us.bin", "deep");
    bytes.insert(bytes.end(), good.begin(), good.end());
    // A box, "Couldn't create dir" before the process ends or one about a file, is read and
    // closed; none may come.
    BoxWatch watch{GetCurrentThreadId(), {}, {}, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE watcher = CreateThread(nullptr, 0, WatchForBox, &watch, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    CPackArchive archive;
    const int entries = ExtractAll(archive, Archive(bytes));
    SetEvent(watch.done);
    WaitForSingleObject(watcher, 15000);
    CloseHandle(watcher);
    CloseHandle(watch.done);
    EXPECT_EQ(watch.text, "") << "a box came: " << watch.caption;
    EXPECT_EQ(entries, static_cast<int>(names.size()) + 1);
    EXPECT_EQ(archive.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(archive.GetEntriesNotWritten(), static_cast<int>(names.size()));
    archive.CloseArchive();
    std::vector<std::string> files;
    ListFiles(sandbox_, "", files);
    EXPECT_EQ(files, (std::vector<std::string>{"RadAva\\Boot\\FP\\A2C\\us.bin", "RadAva\\test.r"}));
    EXPECT_FALSE(Exists(base_ + longFolder));
    EXPECT_FALSE(Exists(base_ + "A1"));
}

// --- the writer side ---------------------------------------------------------------------

TEST_F(ArchiveTest, WhatTheWriterAppendsTheReaderUnpacks)
{
    const std::string source = sandbox_ + "\\source\\";
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA((source + "A1").c_str(), nullptr);
    WriteBytes(source + "A1\\us.bin", Bytes(70000, 0x5A));
    WriteBytes(source + "top.bin", Bytes{1, 2, 3});
    const std::string path = work_ + "\\written";
    {
        CPackArchive writer;
        ASSERT_TRUE(writer.OpenArchiveFile(path.c_str(), TRUE));
        writer.m_strBaseDirectory = source.c_str();
        EXPECT_TRUE(writer.AddArchiveEntry("A1\\us.bin"));
        EXPECT_TRUE(writer.AddArchiveEntry("\\top.bin")) << "one leading backslash is dropped";
        const ULONGLONG length = writer.m_pStream->GetLength();
        EXPECT_FALSE(writer.AddArchiveEntry("missing.bin")) << "a source that is not there is no entry";
        EXPECT_FALSE(writer.AddArchiveEntry("..\\top.bin")) << "the reader would pass it over";
        EXPECT_FALSE(writer.AddArchiveEntry("x \\~#$&*")) << "the reader would stop inside the name";
        EXPECT_EQ(writer.m_pStream->GetLength(), length) << "refused entries append nothing";
    }
    CPackArchive reader;
    EXPECT_EQ(ExtractAll(reader, path + ".r"), 2);
    EXPECT_EQ(reader.GetLastEntryResult(), EntryResult::End);
    EXPECT_EQ(ReadBytes(base_ + "A1\\us.bin"), Bytes(70000, 0x5A));
    EXPECT_EQ(ReadBytes(base_ + "top.bin"), (Bytes{1, 2, 3}));
    CPackArchive closed;
    EXPECT_FALSE(closed.AddArchiveEntry("top.bin"));
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Both answer TRUE or end the process (below): what they leave on disk is what tells.
TEST_F(ArchiveTest, FoldersAreMadeShortestFirstAndExistingOnesKept)
{
    // Boot\ does not exist yet: every missing level of the path is made.
    const std::string deep = base_ + "FP\\A2C\\us.bin";
    ASSERT_FALSE(Exists(work_ + "\\Boot"));
    MakeDirectoriesForPath(deep.c_str());
    EXPECT_TRUE(IsFolder(work_ + "\\Boot"));
    EXPECT_TRUE(IsFolder(base_ + "FP"));
    EXPECT_TRUE(IsFolder(base_ + "FP\\A2C"));
    EXPECT_FALSE(Exists(deep)) << "the file itself is not made";

    // Made again over existing folders, their files stay.
    WriteBytes(base_ + "FP\\keep.bin", Bytes{7});
    WriteBytes(base_ + "FP\\A2C\\keep.bin", Bytes{8});
    MakeDirectoriesForPath(deep.c_str());
    CreateDir((base_ + "FP").c_str());
    EXPECT_EQ(ReadBytes(base_ + "FP\\keep.bin"), Bytes{7});
    EXPECT_EQ(ReadBytes(base_ + "FP\\A2C\\keep.bin"), Bytes{8});

    // A file of the folder's name counts as there: nothing is made over it.
    WriteBytes(base_ + "FP\\A2D", Bytes{9});
    CreateDir((base_ + "FP\\A2D").c_str());
    EXPECT_EQ(ReadBytes(base_ + "FP\\A2D"), Bytes{9});

    CreateDir((base_ + "U65").c_str());
    EXPECT_TRUE(IsFolder(base_ + "U65"));
    EXPECT_FALSE(Exists(base_ + "U65\\A0")) << "one level only";

    // A path without a backslash names no folder.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(work_.c_str());
    MakeDirectoriesForPath("relative.bin");
    MakeDirectoriesForPath("relative");
    SetCurrentDirectoryA(current);
    std::vector<std::string> files;
    ListFiles(work_, "", files);
    EXPECT_EQ(files, (std::vector<std::string>{"Boot\\FP\\A2C\\keep.bin", "Boot\\FP\\A2D", "Boot\\FP\\keep.bin"}));
    EXPECT_FALSE(Exists(work_ + "\\relative.bin"));
    EXPECT_FALSE(Exists(work_ + "\\relative"));
}

// --- a folder that cannot be made ends the process -----------------------------------------

// The child mode of this program: `--create-dir FOLDER` or `--make-directories PATH` runs the
// function and, should it come back, ends with this code.
constexpr DWORD kChildReturned = 77;

struct ChildBox {
    DWORD process;
    std::string text;
    bool seen = false;
};

BOOL CALLBACK ReadChildBox(HWND window, LPARAM data)
{
    auto* box = reinterpret_cast<ChildBox*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (process != box->process || std::string(name) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    char text[512] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    box->seen = true;
    // The first text read is kept, and the box closed only then: read while the box is still
    // being made, or again after the OK while it is being destroyed, its text control may be
    // empty or gone.
    if (box->text.empty())
        box->text = text;
    if (!box->text.empty())
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

TEST_F(ArchiveTest, AFolderThatCannotBeMadeEndsTheProgramWithItsMessage)
{
    const struct {
        const char* option;
        std::string path;
        std::string folder;  // that must not exist afterwards
    } cases[] = {
        // The parent is missing: CreateDir makes one level only.
        {"--create-dir", sandbox_ + "\\missing\\child", sandbox_ + "\\missing"},
        // A name no folder may have, on the way to the file.
        {"--make-directories", sandbox_ + "\\bad?\\A1\\us.bin", sandbox_ + "\\bad?"},
    };
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    for (const auto& c : cases) {
        std::string line = std::string("\"") + program + "\" " + c.option + " \"" + c.path + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        ASSERT_TRUE(CreateProcessA(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
            << line;
        ChildBox box{child.dwProcessId, {}, false};
        DWORD waited = WAIT_TIMEOUT;
        for (int i = 0; i < 1500 && waited == WAIT_TIMEOUT; ++i) {
            EnumWindows(ReadChildBox, reinterpret_cast<LPARAM>(&box));
            waited = WaitForSingleObject(child.hProcess, 20);
        }
        if (waited == WAIT_TIMEOUT)
            TerminateProcess(child.hProcess, 1);
        DWORD code = 0;
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        ASSERT_EQ(waited, WAIT_OBJECT_0) << c.option << ": the child did not end";
        EXPECT_TRUE(box.seen) << c.option;
        EXPECT_EQ(box.text, "Couldn't create dir") << c.option;
        EXPECT_NE(code, kChildReturned) << c.option << ": it came back instead of ending the process";
        EXPECT_NE(code, 0u) << c.option;
        EXPECT_FALSE(Exists(c.folder)) << c.option;
    }
}

// --- the gzip file class -----------------------------------------------------------------

TEST_F(ArchiveTest, CompressFileWritesWhatTheShippedArchiveHolds)
{
    // The first image of the shipped archive, unpacked, compressed again by our writer.
    const std::string archivePath = ProgramFolder() + "BootCode.r";
    const Bytes shipped = ReadBytes(archivePath);
    const std::string name = shipped::kEntries[0].name;
    const Bytes head = archive::EncodeEntryHead(name, 0);
    ASSERT_TRUE(std::equal(head.begin(), head.end() - 4, shipped.begin()));
    const std::uint32_t length = archive::DecodeLength(shipped.data() + head.size() - 4);
    const Bytes shippedMember(shipped.begin() + head.size(), shipped.begin() + head.size() + length);
    CPackArchive archive;
    ExtractAll(archive, Archive(Entry(name, shippedMember)));
    const Bytes image = ReadBytes(base_ + name);
    ASSERT_EQ(image.size(), 65536u);
    const Bytes ours = Member(image);
    ASSERT_EQ(ours.size(), shippedMember.size());
    // The same deflate stream and trailer. The header differs in the operating system byte
    // only: Debian's zlib 1.2.13 for Windows writes 0x0A where the shipped members carry 0x0B.
    EXPECT_TRUE(std::equal(ours.begin(), ours.begin() + 9, shippedMember.begin()));
    EXPECT_EQ(ours[9], 0x0A);
    EXPECT_EQ(shippedMember[9], 0x0B);
    EXPECT_TRUE(std::equal(ours.begin() + 10, ours.end(), shippedMember.begin() + 10));
}

TEST_F(ArchiveTest, ReadAllJoinsChunksByTheirOwnCounts)
{
    // Content many times the compressed size: ReadAll reads it in several chunks, the last one
    // short.
    Bytes content(200000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<unsigned char>((i * 7) ^ (i >> 9));
    const std::string packed = sandbox_ + "\\content.gz";
    WriteBytes(packed, Member(content));
    ASSERT_LT(ReadBytes(packed).size() * 3, content.size());
    {
        CGzipFile file;
        ASSERT_TRUE(file.Open(packed.c_str(), CGzipFile::modeReading));
        EXPECT_FALSE(file.Open(packed.c_str(), CGzipFile::modeReading)) << "already open";
        BYTE* bytes = nullptr;
        int size = 0;
        ASSERT_TRUE(file.ReadAll(&bytes, &size));
        ASSERT_EQ(size, static_cast<int>(content.size()));
        EXPECT_TRUE(std::equal(content.begin(), content.end(), bytes));
        delete[] bytes;
        EXPECT_TRUE(file.IsEof());
        EXPECT_FALSE(file.HadReadError());
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(file.Close());
    }
    {
        CGzipFile file;
        ASSERT_TRUE(file.Open(packed.c_str(), CGzipFile::modeReading));
        char* text = nullptr;
        ASSERT_TRUE(file.ReadAllText(&text));
        EXPECT_EQ(text[content.size()], '\0');
        EXPECT_EQ(std::memcmp(text, content.data(), content.size()), 0);
        delete[] text;
    }
}

TEST_F(ArchiveTest, GzipFileModesAndDamage)
{
    const std::string path = sandbox_ + "\\modes.gz";
    CGzipFile file;
    EXPECT_FALSE(file.Open(path.c_str(), 3));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.IsEof()) << "a closed file is at its end";
    ASSERT_TRUE(file.Open(path.c_str(), CGzipFile::modeWriting));
    EXPECT_EQ(file.Read(nullptr, 0), 0);
    EXPECT_EQ(file.SetParams(), Z_OK);
    EXPECT_TRUE(file.WriteString("hello "));
    EXPECT_TRUE(file.Flush(Z_SYNC_FLUSH));
    EXPECT_TRUE(file.Write("gzip", 4));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(file.SetParams(), Z_STREAM_ERROR) << "nothing to set on a closed file";

    ASSERT_TRUE(file.Open(path.c_str(), CGzipFile::modeReading));
    EXPECT_FALSE(file.Write("x", 1)) << "not open for writing";
    char text[32] = {};
    EXPECT_EQ(file.Read(text, sizeof text), 10);
    EXPECT_STREQ(text, "hello gzip");
    EXPECT_EQ(file.Read(text, sizeof text), 0);
    file.Close();

    // A damaged member: ReadAll fails with the damage noted, and DecompressFile leaves the
    // target alone (not even created).
    Bytes damaged = ReadBytes(path);
    damaged.resize(damaged.size() - 6);
    WriteBytes(path, damaged);
    ASSERT_TRUE(file.Open(path.c_str(), CGzipFile::modeReading));
    BYTE* bytes = reinterpret_cast<BYTE*>(1);
    int size = 7;
    EXPECT_FALSE(file.ReadAll(&bytes, &size));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(file.HadReadError());
    file.Close();
    EXPECT_FALSE(DecompressFile(path.c_str(), (sandbox_ + "\\out.bin").c_str()));
    EXPECT_FALSE(Exists(sandbox_ + "\\out.bin"));
    EXPECT_FALSE(DecompressFile((sandbox_ + "\\missing.gz").c_str(), (sandbox_ + "\\out.bin").c_str()));
    EXPECT_FALSE(CompressFile((sandbox_ + "\\missing.bin").c_str(), (sandbox_ + "\\out.gz").c_str()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--create-dir") == 0) {
        CreateDir(argv[2]);
        return kChildReturned;
    }
    if (argc == 3 && std::strcmp(argv[1], "--make-directories") == 0) {
        MakeDirectoriesForPath(argv[2]);
        return kChildReturned;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
