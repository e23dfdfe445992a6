// core/brimlet/licence_text.h
// The licence dialog's text: which file the system's default locale picks, read in pieces of at
// most 127 characters and joined, each piece followed by a line break, into one 40,960-byte text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace brimlet {

// "Agreement.chs" for Simplified Chinese, "Agreement.cht" for every other Chinese,
// "Agreement.eng" for the rest.
const char* LicenceFileForLcid(std::uint32_t lcid);

constexpr int kLicencePieceSlots = 512;
constexpr int kLicencePieceSize = 256;
constexpr int kLicencePieceCharacters = 127;
constexpr int kLicenceTextSize = 40960;

struct LicencePieces {
    char slots[kLicencePieceSlots][kLicencePieceSize];
    int count;
};

// Reads the stream piece by piece until its end, a read error, or every slot is filled.
void ReadLicencePieces(std::FILE* file, LicencePieces& pieces);

// The pieces in order, each followed by "\r\n"; stops before the piece that would not fit, with
// its line break and the terminating zero, into kLicenceTextSize bytes.
std::string JoinLicencePieces(const LicencePieces& pieces);

}  // namespace brimlet
