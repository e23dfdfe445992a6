// rezo/rezo_sim.h
// How the simulating REZO.dll (target rezo_sim; test and demo support, never shipped) finds the
// device it presents, in this order:
//   1. the profile file that the environment variable REZO_SIM_PROFILE names (a Windows path,
//      e.g. Z:\work\e2e\usbest.profile). Child processes inherit it, so it reaches the library
//      wherever a program writes and loads its copy (Brimlet in %TEMP%\RadAva, Quillet in
//      %TEMP%\ZEM_fix);
//   2. otherwise "rezo-device.profile" beside the library;
//   3. otherwise the profile's defaults: a present, healthy UT165 drive, and no call log.
// A profile that cannot be read or parsed makes the library present no device; the reason goes
// to the debugger output and, when the profile got as far as naming one, to the call log.
// The profile's keys are core/rezo_sim/profile.h's, the log's lines core/rezo_sim/call_log.h's;
// the log's first line of a process names the profile ("event profile ..."), and its last, when
// the program frees the library, says "event library-freed" (or "... while a repair runs").
// The images REZO_GetUpdateFWFile names lie in the unpacked firmware tree "Boot\" beside the
// library.
#pragma once

constexpr char kRezoSimProfileVariable[] = "REZO_SIM_PROFILE";
constexpr char kRezoSimProfileFileName[] = "rezo-device.profile";
constexpr char kRezoSimFirmwareFolder[] = "Boot\\";
