// The gauge tests' host window and entry point.
#include "tests/windows/skin/gauge_host.h"

#include <gtest/gtest.h>

namespace gauges {

BEGIN_MESSAGE_MAP(CGaugeHost, CDialog)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

}  // namespace gauges

// The controls run inside the application object, as in the programs.
class CGaugeTestApp : public CWinApp
{
};
CGaugeTestApp theApp;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
