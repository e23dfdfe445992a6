// Fuzzing the packed firmware archive reader: random and mutated archives are read as Brimlet
// reads them and unpacked into a target folder inside a sandbox, and after each one
//   - nothing exists in the sandbox outside the target folder,
//   - every name the reader let through resolves, by Windows' rules (windows_path_model), to a
//     file below the firmware folder, opens no device, uses no drive or stream, fits 260
//     characters, and is one Windows can create: each folder Brimlet asks CreateDirectory for
//     stays below 248 characters and holds no character a name may not hold (< > : " / | ? *,
//     control characters), nor does the file's own name,
//   - the reader made progress: never more entries than the input could frame, and it ends
//     cleanly or reports the archive cut short.
// Built twice in the sanitizer tree (host-asan): archive_fuzz, with its own generator and
// mutator (g++), and archive_libfuzzer, coverage-guided (clang's libFuzzer), when clang is
// installed. CI runs a short pass of each; a million inputs:
//   build/host-asan/tests/native/archive/archive_fuzz --runs 1000000
//   build/host-asan/tests/native/archive/archive_libfuzzer -runs=1000000 CORPUS
//       build/host-asan/tests/native/archive/fuzz-seeds   (CORPUS: an empty folder of yours)
// archive_fuzz --write-seeds DIR writes the seed archives libFuzzer starts from.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/archive/format.h"
#include "tests/native/archive/support/host_archive.h"
#include "tests/native/archive/support/shipped_names.h"
#include "tests/native/archive/support/windows_path_model.h"

namespace {

namespace fs = std::filesystem;
using host_archive::Bytes;

// The firmware folder the names are checked against, as on Windows XP.
constexpr char kWindowsBase[] = "C:\\Documents and Settings\\user\\Local Settings\\Temp\\RadAva\\Boot\\";
constexpr std::size_t kMinimumEntry = 1 + archive::kMarker.size() + archive::kLengthSize;

[[noreturn]] void Fail(const std::string& why, const uint8_t* data, size_t size)
{
    std::fprintf(stderr, "archive fuzz: %s\n", why.c_str());
    const std::string keep = "archive-fuzz-failure.r";
    std::ofstream(keep, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::fprintf(stderr, "archive fuzz: the input is in %s\n", keep.c_str());
    std::abort();
}

void RemoveSandbox();

// A folder of this process's own, removed when it exits (libFuzzer ends with exit()).
const fs::path& Sandbox()
{
    static const fs::path sandbox = fs::temp_directory_path() / ("archive_fuzz_" + std::to_string(getpid()));
    static const bool removedAtExit = std::atexit(RemoveSandbox) == 0;
    (void)removedAtExit;
    return sandbox;
}

void RemoveSandbox()
{
    std::error_code error;
    fs::remove_all(Sandbox(), error);
}

void CheckOneInput(const uint8_t* data, size_t size)
{
    const fs::path target = Sandbox() / "RadAva" / "Boot";
    fs::create_directories(target);

    const std::span<const unsigned char> bytes(data, size);
    const host_archive::Extraction extraction = host_archive::ExtractTo(bytes, target, std::strlen(kWindowsBase));

    if (extraction.entries.size() > size / kMinimumEntry + 1)
        Fail("more entries than the input can frame", data, size);
    if (extraction.last != archive::EntryResult::End && extraction.last != archive::EntryResult::Truncated)
        Fail("the reader ended neither at the end nor on a cut", data, size);

    for (const auto& entry : extraction.entries) {
        if (entry.result == archive::EntryResult::Skipped || entry.result == archive::EntryResult::Truncated)
            continue;
        // The reader let this name through: Windows must put it below the firmware folder.
        const path_model::Resolution where = path_model::Resolve(kWindowsBase, entry.name);
        if (!where.insideBase || where.opensDevice || where.usesStream)
            Fail("name '" + entry.name + "' passed but resolves to '" + where.resolved + "'", data, size);
        if (std::strlen(kWindowsBase) + entry.name.size() >= archive::kMaxPath)
            Fail("name '" + entry.name + "' passed but its path reaches 260 characters", data, size);
        if (entry.name.find('\0') != std::string::npos)
            Fail("a name with a NUL byte passed", data, size);
        // A folder CreateDirectory refuses ends Brimlet; a file it cannot create raises a box.
        const std::string target = kWindowsBase + entry.name;
        for (const std::string& folder : archive::DirectoriesToCreate(target)) {
            if (const char* why = path_model::FolderRefusal(folder))
                Fail("name '" + entry.name + "' passed but its folder '" + folder + "' cannot be made: " + why, data, size);
        }
        if (path_model::HoldsForbiddenCharacter(target.substr(target.rfind('\\') + 1)))
            Fail("name '" + entry.name + "' passed but Windows cannot create its file", data, size);
    }

    std::size_t items = 0;
    for (auto item = fs::recursive_directory_iterator(Sandbox()); item != fs::recursive_directory_iterator(); ++item) {
        const fs::path relative = fs::relative(item->path(), Sandbox());
        const std::string text = relative.generic_string();
        const bool atOrBelowTarget = text == "RadAva" || text == "RadAva/Boot" || text.rfind("RadAva/Boot/", 0) == 0;
        if (!atOrBelowTarget || item->is_symlink())
            Fail("'" + text + "' was written outside the target folder", data, size);
        ++items;
    }
    // The next input starts from an empty target folder.
    if (items > 2)
        fs::remove_all(target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckOneInput(data, size);
    return 0;
}

#ifndef ARCHIVE_FUZZ_LIBFUZZER

namespace {

// xorshift64*: the same inputs for the same seed on every host.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    std::uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    std::size_t Below(std::size_t n) { return n ? static_cast<std::size_t>(Next() % n) : 0; }
    bool OneIn(std::size_t n) { return Below(n) == 0; }

private:
    std::uint64_t state_;
};

const std::vector<std::string>& NamePieces()
{
    static const std::vector<std::string> pieces = [] {
        std::vector<std::string> p = {"..", ".", "...", ". .", ".. ", "\\", "/", "C:", "c:", ":", "\\\\", "CON", "nul",
                                      "COM1", "lpt9", "aux.bin", "\xB9", " ", "~", "$", "*", "#", "&", "A1", "FP",
                                      "?", "<", ">", "|", "\"", "\t", "\x01", "\x7F",
                                      // A folder that, below the fuzzer's base, is one short of 248.
                                      std::string(185, 'F'),
                                      "A2C", "us.bin", std::string(1, '\0'), std::string(40, 'L'),
                                      std::string(archive::kMarker.begin(), archive::kMarker.end()),
                                      std::string(archive::kMarker.begin(), archive::kMarker.begin() + 7)};
        for (const auto& entry : shipped::kEntries)
            p.push_back(entry.name);
        return p;
    }();
    return pieces;
}

std::string RandomName(Random& random)
{
    std::string name;
    const std::size_t pieces = 1 + random.Below(6);
    for (std::size_t i = 0; i < pieces; ++i) {
        if (random.OneIn(5)) {
            name += static_cast<char>(random.Below(256));
        } else {
            name += NamePieces()[random.Below(NamePieces().size())];
            if (random.OneIn(2))
                name += '\\';
        }
    }
    return name.empty() ? "x" : name;
}

Bytes RandomArchive(Random& random)
{
    Bytes archive;
    const std::size_t entries = random.Below(6);
    for (std::size_t i = 0; i < entries; ++i) {
        Bytes data;
        const std::size_t length = random.Below(300);
        std::string content;
        for (std::size_t b = 0; b < length; ++b)
            content += static_cast<char>(random.OneIn(3) ? random.Below(256) : 'a' + random.Below(4));
        if (random.OneIn(4))
            data.assign(content.begin(), content.end());  // plain data
        else
            data = host_archive::GzipLikeWindows(Bytes(content.begin(), content.end()));
        Bytes entry = host_archive::Entry(RandomName(random), data);
        if (random.OneIn(8)) {
            // A length that lies.
            const std::size_t at = entry.size() - data.size() - archive::kLengthSize;
            entry[at + random.Below(4)] = static_cast<unsigned char>(random.Below(256));
        }
        archive.insert(archive.end(), entry.begin(), entry.end());
    }
    return archive;
}

void Mutate(Random& random, Bytes& bytes)
{
    const std::size_t edits = 1 + random.Below(4);
    for (std::size_t i = 0; i < edits; ++i) {
        switch (random.Below(6)) {
        case 0:
            if (!bytes.empty())
                bytes[random.Below(bytes.size())] ^= static_cast<unsigned char>(1u << random.Below(8));
            break;
        case 1:
            if (!bytes.empty())
                bytes[random.Below(bytes.size())] = static_cast<unsigned char>(random.Below(256));
            break;
        case 2:
            bytes.resize(random.Below(bytes.size() + 1));
            break;
        case 3: {
            const std::string piece = NamePieces()[random.Below(NamePieces().size())];
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(random.Below(bytes.size() + 1)), piece.begin(), piece.end());
            break;
        }
        case 4:
            if (!bytes.empty())
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(random.Below(bytes.size())));
            break;
        default: {
            const Bytes more = RandomArchive(random);
            bytes.insert(bytes.end(), more.begin(), more.end());
            break;
        }
        }
    }
}

std::vector<Bytes> Seeds(const std::string& archivePath)
{
    std::vector<Bytes> seeds;
    seeds.push_back({});
    seeds.push_back(host_archive::Entry("A1\\us.bin", "firmware"));
    seeds.push_back(host_archive::Entry("..\\evil.bin", "x"));
    seeds.push_back(archive::EncodeEntryHead("A1\\zero.bin", 0));
    seeds.push_back(host_archive::Entry("A1?\\us.bin", "x"));
    seeds.push_back(host_archive::Entry(std::string(186, 'F') + "\\us.bin", "x"));
    if (!archivePath.empty()) {
        // The first entries of the shipped archive.
        std::ifstream in(archivePath, std::ios::binary);
        Bytes whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        whole.resize(std::min<std::size_t>(whole.size(), 20000));
        seeds.push_back(std::move(whole));
    }
    return seeds;
}

int Usage()
{
    std::fprintf(stderr, "usage: archive_fuzz [--runs N] [--seed S] [--archive BootCode.r] | --write-seeds DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::uint64_t runs = 10000;
    std::uint64_t seed = 1;
    std::string archivePath;
    std::string seedFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return Usage();
        if (option == "--runs")
            runs = std::strtoull(argv[++i], nullptr, 10);
        else if (option == "--seed")
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (option == "--archive")
            archivePath = argv[++i];
        else if (option == "--write-seeds")
            seedFolder = argv[++i];
        else
            return Usage();
    }
    const std::vector<Bytes> seeds = Seeds(archivePath);
    if (!seedFolder.empty()) {
        fs::create_directories(seedFolder);
        for (std::size_t i = 0; i < seeds.size(); ++i) {
            std::ofstream out(fs::path(seedFolder) / ("seed-" + std::to_string(i) + ".r"), std::ios::binary);
            out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
        }
        return 0;
    }

    Random random(seed);
    Bytes previous;
    for (std::uint64_t run = 0; run < runs; ++run) {
        Bytes input;
        switch (random.Below(4)) {
        case 0:
            input.resize(random.Below(200));
            for (auto& b : input)
                b = static_cast<unsigned char>(random.Below(256));
            break;
        case 1:
            input = RandomArchive(random);
            break;
        case 2:
            input = seeds[random.Below(seeds.size())];
            Mutate(random, input);
            break;
        default:
            input = previous;
            Mutate(random, input);
            break;
        }
        CheckOneInput(input.data(), input.size());
        previous = std::move(input);
        if (previous.size() > 100000)
            previous.clear();
        if ((run + 1) % 100000 == 0)
            std::printf("archive fuzz: %llu inputs\n", static_cast<unsigned long long>(run + 1));
    }
    std::printf("archive fuzz: %llu inputs, seed %llu, no fault\n", static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(seed));
    return 0;
}

#endif
