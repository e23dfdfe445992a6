// core/brimlet/licence_text.cpp
#include "core/brimlet/licence_text.h"

#include <cstring>

namespace brimlet {

const char* LicenceFileForLcid(std::uint32_t lcid)
{
    if ((lcid & 0x3FF) != 0x04)
        return "Agreement.eng";
    return (lcid & 0xFC00) == 0x800 ? "Agreement.chs" : "Agreement.cht";
}

void ReadLicencePieces(std::FILE* file, LicencePieces& pieces)
{
    pieces.count = 0;
    if (file == nullptr)
        return;
    char line[kLicencePieceCharacters + 1];
    while (pieces.count < kLicencePieceSlots && !std::feof(file)) {
        // A null answer is the end or a read error; either way nothing more will come.
        if (std::fgets(line, sizeof line, file) == nullptr)
            break;
        std::memcpy(pieces.slots[pieces.count], line, std::strlen(line) + 1);
        ++pieces.count;
    }
}

std::string JoinLicencePieces(const LicencePieces& pieces)
{
    std::string text;
    for (int i = 0; i < pieces.count && i < kLicencePieceSlots; ++i) {
        const void* end = std::memchr(pieces.slots[i], '\0', kLicencePieceSize);
        const std::size_t length = end ? static_cast<const char*>(end) - pieces.slots[i] : kLicencePieceSize;
        if (text.size() + length + 2 + 1 > static_cast<std::size_t>(kLicenceTextSize))
            break;
        text.append(pieces.slots[i], length);
        text += "\r\n";
    }
    return text;
}

}  // namespace brimlet
