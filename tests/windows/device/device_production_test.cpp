// tests/windows/device/device_production_test.cpp
// The production port under Wine: Wine has no SCSI pass-through and its own wnaspi32.dll sees no
// drive of ours, so discovery finds nothing, on either path, and says so without waiting.
#include <windows.h>

#include <gtest/gtest.h>

#include "sarrow/device/scsi_device.h"

TEST(ProductionPort, FindsNoDriveUnderWine)
{
    for (BOOL legacy : {FALSE, TRUE}) {
        SCOPED_TRACE(legacy ? "ASPI" : "pass-through");
        ScsiDeviceContext device;
        const DWORD start = GetTickCount();
        EXPECT_FALSE(FindSmiDevice(legacy, &device.hostAdapterId, &device.targetId,
                                   &device.aspiModule, &device.driveLetter));
        EXPECT_LT(GetTickCount() - start, 20000u);
        EXPECT_EQ(device.aspiModule, nullptr);  // nothing left loaded for nobody to free
    }
}

TEST(ProductionPort, PassThroughIsNotThereOnAWineVolume)
{
    BYTE answer[kPassThroughInquiryAnswerSize] = {};
    EXPECT_FALSE(PassThroughInquiry('C', answer));
}
