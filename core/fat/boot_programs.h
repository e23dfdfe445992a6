// core/fat/boot_programs.h
// The three x86 boot programs the volume builders put into the master boot record and the boot
// sectors, assembled from core/fat/boot/*.asm at build time. Each fills its area exactly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace fat {

// Master boot record bytes 0-379. Its messages sit at 300, 324 and 355, where the MBR's bytes
// 437-439 (0x2C, 0x44, 0x63) point once the program runs at 0000:0600.
inline constexpr std::size_t kMasterBootProgramOffset = 0;
inline constexpr std::size_t kMasterBootProgramSize = 380;

// FAT12/16 boot sector bytes 62-509, after the BPB; BS_jmpBoot EB 3C 90 lands on its start.
inline constexpr std::size_t kFat16BootProgramOffset = 62;
inline constexpr std::size_t kFat16BootProgramSize = 448;

// FAT32 boot sector bytes 90-509, after the BPB; BS_jmpBoot EB 58 90 lands on its start.
inline constexpr std::size_t kFat32BootProgramOffset = 90;
inline constexpr std::size_t kFat32BootProgramSize = 420;

extern const std::array<std::uint8_t, kMasterBootProgramSize> kMasterBootProgram;
extern const std::array<std::uint8_t, kFat16BootProgramSize> kFat16BootProgram;
extern const std::array<std::uint8_t, kFat32BootProgramSize> kFat32BootProgram;

}  // namespace fat
