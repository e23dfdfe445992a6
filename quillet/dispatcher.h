// quillet/dispatcher.h
// Quillet's probes: the device library, the chip query and the device-information command sent
// to the drive letters D to Z, and the hardware ids of the present devices. Volume commands go
// through the device port (platform/scsi/device_port.h), the device list through the device list
// port (platform/setupapi/device_list_port.h), the device library through the four functions of
// REZO.dll bound by ordinal when the program loads.
#pragma once

#include <windows.h>

#include "core/probe/probe_rules.h"
#include "rezo/rezo_api.h"

using probe::DeviceKind;
using probe::ToolIndex;

// Runs the probe sequence (device library, chip-query pass, identifier pass) and records the kind.
void ProbeDevices();
DeviceKind GetDetectedKind();

// The device-library presence test: the device object's handle, or 0 when no supported device is
// there (the object is then destroyed). A handle already held is kept.
RezoDeviceHandle OpenRezoDevice();
// Destroys the device object and forgets the handle.
void CloseRezoDevice();

// Opens "\\.\X:" for pass-through; false (and an invalid handle) when it does not open.
bool OpenVolume(char letter, HANDLE& volume);
// One command in the direct pass-through record: target 1, sense 24 bytes at offset 48, 2 s. The
// result is DeviceIoControl's alone.
bool SendScsiCommand(HANDLE volume, const BYTE* cdb, void* data, DWORD dataLength, BYTE cdbLength,
                     bool dataIn);

// The chip-query probes: the open volume when the reply matches (it stays open), else 0.
HANDLE ProbeCaReplyA(char letter);
HANDLE ProbeCaReplyB(char letter);
HANDLE ProbeCaReplyC(char letter);
// Opens the volume and runs ReadDeviceInfoId: the open volume on a match, else 0.
HANDLE ProbeVendorId(char letter);
// Sends the device-information command and tests its identifier.
bool ReadDeviceInfoId(HANDLE volume);

// The hardware-id walk over every present device of every class: the tool of the first listed
// vendor text, or None.
ToolIndex DetectByHardwareId();

// The volume of the probe that matched, open until the program ends; null when none matched.
HANDLE MatchedVolume();
