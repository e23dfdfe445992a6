// sarrow/resources/isp_image.cpp
#include "sarrow/resources/isp_image.h"

#include <windows.h>

#include "sarrow/resources/resource_ids.h"

const unsigned char* FindIspFirmwareImage(std::size_t* size) {
  *size = 0;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(SARROW_ISP_IMAGE_RESOURCE), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!info || SizeofResource(module, info) != SARROW_ISP_IMAGE_SIZE) return nullptr;
  HGLOBAL data = LoadResource(module, info);
  if (!data) return nullptr;
  *size = SARROW_ISP_IMAGE_SIZE;
  // Resource memory lives as long as the module; nothing to free.
  return static_cast<const unsigned char*>(LockResource(data));
}
