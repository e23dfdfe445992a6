// sarrow/resources/isp_image.h
#pragma once

#include <cstddef>

// The controller firmware image Sarrow uploads, from the program's own data resource; nullptr
// when the resource is missing. The repair refuses an image that is not 101,360 bytes.
const unsigned char* FindIspFirmwareImage(std::size_t* size);
