// sarrow/resources/isp_image.cpp
#include "sarrow/resources/isp_image.h"

#include <windows.h>

#include "sarrow/resources/resource_ids.h"

const unsigned char* FindIspFirmwareImage(std::size_t* size) {
  *size = 0;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(SARROW_ISP_IMAGE_RESOURCE), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!info) return nullptr;
  HGLOBAL data = LoadResource(module, info);
  if (!data) return nullptr;
  *size = SizeofResource(module, info);  // the repair refuses an image of any other size
  // Resource memory lives as long as the module; nothing to free.
  return static_cast<const unsigned char*>(LockResource(data));
}
