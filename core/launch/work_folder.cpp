// core/launch/work_folder.cpp
#include "core/launch/work_folder.h"

namespace launch {

std::optional<std::string> WorkFolderPath(std::string_view tempPath,
                                          std::initializer_list<std::string_view> fileNames)
{
    std::string folder(tempPath);
    folder += kWorkFolderName;
    std::size_t longest = 0;
    for (std::string_view name : fileNames)
        longest = name.size() > longest ? name.size() : longest;
    if (folder.size() + longest + 1 > kPathCapacity)
        return std::nullopt;
    return folder;
}

std::string CutAtCharacter(std::string_view text, std::size_t maximum, LeadByteTest isLeadByte)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const bool pair = isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size();
        const std::size_t next = end + (pair ? 2 : 1);
        if (next > maximum)
            break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

std::string ParameterText(std::string_view currentDirectory, std::string_view programPath,
                          std::size_t capacity, LeadByteTest isLeadByte)
{
    std::string text(currentDirectory);
    text += '\\';
    text += programPath;
    return CutAtCharacter(text, capacity == 0 ? 0 : capacity - 1, isLeadByte);
}

}  // namespace launch
