// sarrow/resources/isp_image.h
#pragma once

#include <cstddef>

// The controller firmware image Sarrow uploads, from the program's own data resource. Fails
// (nullptr) when the resource is missing or not the 101,360 bytes the upload is laid out for.
const unsigned char* FindIspFirmwareImage(std::size_t* size);
