// tests/native/support/firmware_image.h
// The controller firmware the tests upload: the header the drive reads its model and version
// from, then bytes that change from one to the next, so a misplaced bank shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/repair/repair_routine.h"

namespace test_support {

// The image is kIspImageSize bytes; a larger `size` (the whole firmware area) pads it with zeros.
inline std::vector<std::uint8_t> TestFirmwareImage(const char* version = "080411-AB-",
                                                   std::size_t size = repair::kIspImageSize)
{
    std::vector<std::uint8_t> image(size, 0);
    const std::uint8_t header[] = {0x02, 0xF0, 0x5E, 'S', 'M', '3', '2', '5', 'A', 'B', 'U', 0x02};
    std::memcpy(image.data(), header, sizeof header);
    std::memcpy(image.data() + sizeof header, version, 10);
    for (std::size_t i = sizeof header + 10; i < repair::kIspImageSize && i < size; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

}  // namespace test_support
