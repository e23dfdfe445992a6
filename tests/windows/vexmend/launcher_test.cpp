// Vexmend's admission tests: the rights test walks the token's group list (built here, laid out
// as Windows lays it out) within 1,024 bytes, whatever the groups' attributes; the version class
// is the one the Windows version Wine reports gives (the expected class is the first argument).
#include "vexmend/launcher.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

int g_expectedClass = -1;

// A SID built from its authority and sub-authorities.
std::vector<BYTE> Sid(BYTE authority, std::vector<DWORD> subAuthorities)
{
    std::vector<BYTE> sid(8 + 4 * subAuthorities.size());
    sid[0] = 1;  // revision
    sid[1] = static_cast<BYTE>(subAuthorities.size());
    sid[7] = authority;
    std::memcpy(sid.data() + 8, subAuthorities.data(), 4 * subAuthorities.size());
    return sid;
}

const std::vector<BYTE> kAdministrators = Sid(5, {32, 544});
const std::vector<BYTE> kUsers = Sid(5, {32, 545});
const std::vector<BYTE> kEveryone = Sid(1, {0});
const std::vector<BYTE> kLogonUser = Sid(5, {21, 1004336348, 1177238915, 682003330, 1001});

struct Group {
    std::vector<BYTE> sid;
    DWORD attributes;
};

// TOKEN_GROUPS as Windows fills it: the count, the entries, then the SIDs they point to.
class FakeToken final : public TokenPort {
public:
    std::vector<Group> groups;
    bool opens = true;
    bool reads = true;

    // What happened.
    DWORD access = 0;
    HANDLE process = nullptr;
    TOKEN_INFORMATION_CLASS kind = TokenUser;
    DWORD size = 0;
    int opened = 0;
    int closed = 0;

    DWORD Needed() const
    {
        DWORD needed = offsetof(TOKEN_GROUPS, Groups) + groups.size() * sizeof(SID_AND_ATTRIBUTES);
        for (const Group& g : groups)
            needed += g.sid.size();
        return needed;
    }

    BOOL OpenProcessToken(HANDLE processGiven, DWORD accessGiven, HANDLE* token) override
    {
        process = processGiven;
        access = accessGiven;
        if (!opens) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        ++opened;
        *token = reinterpret_cast<HANDLE>(0x7070);
        return TRUE;
    }
    BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kindGiven, void* buffer, DWORD sizeGiven,
                             DWORD* returned) override
    {
        kind = kindGiven;
        size = sizeGiven;
        *returned = Needed();
        if (!reads || token != reinterpret_cast<HANDLE>(0x7070)) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (sizeGiven < Needed()) {
            ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        BYTE* bytes = static_cast<BYTE*>(buffer);
        auto* list = static_cast<TOKEN_GROUPS*>(buffer);
        list->GroupCount = static_cast<DWORD>(groups.size());
        DWORD at = offsetof(TOKEN_GROUPS, Groups) + groups.size() * sizeof(SID_AND_ATTRIBUTES);
        for (std::size_t i = 0; i < groups.size(); ++i) {
            std::memcpy(bytes + at, groups[i].sid.data(), groups[i].sid.size());
            list->Groups[i].Sid = bytes + at;
            list->Groups[i].Attributes = groups[i].attributes;
            at += groups[i].sid.size();
        }
        return TRUE;
    }
    BOOL CloseHandle(HANDLE) override
    {
        ++closed;
        return TRUE;
    }
};

constexpr DWORD kEnabled = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;

TEST(IsUserAdministrator, ReadsTheGroupsOfThisProcessWithTokenReadIntoAThousandTwentyFourBytes)
{
    FakeToken token;
    token.groups = {{kEveryone, kEnabled}, {kAdministrators, kEnabled}};
    EXPECT_TRUE(IsUserAdministrator(token));
    EXPECT_EQ(token.access, 0x20008u);  // TOKEN_READ
    EXPECT_EQ(token.process, ::GetCurrentProcess());
    EXPECT_EQ(token.kind, TokenGroups);
    EXPECT_EQ(token.size, 1024u);
    EXPECT_EQ(token.closed, token.opened);
}

TEST(IsUserAdministrator, GroupListsAndTheirAnswers)
{
    struct Case {
        const char* name;
        std::vector<Group> groups;
        bool administrator;
    } cases[] = {
        {"administrators enabled", {{kLogonUser, kEnabled}, {kAdministrators, kEnabled}}, true},
        {"deny-only administrators", {{kEveryone, kEnabled}, {kAdministrators, SE_GROUP_USE_FOR_DENY_ONLY}, {kUsers, kEnabled}}, true},
        {"administrators disabled", {{kAdministrators, 0}}, true},
        {"users only", {{kEveryone, kEnabled}, {kUsers, kEnabled}, {kLogonUser, kEnabled}}, false},
        {"no groups", {}, false},
        {"a sibling of administrators", {{Sid(5, {32, 544, 1}), kEnabled}, {Sid(5, {544, 32}), kEnabled}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeToken token;
        token.groups = c.groups;
        EXPECT_EQ(IsUserAdministrator(token), c.administrator);
        EXPECT_EQ(token.closed, 1);
    }
}

TEST(IsUserAdministrator, AGroupListOverAThousandTwentyFourBytesFails)
{
    FakeToken token;
    token.groups = {{kAdministrators, kEnabled}};
    while (token.Needed() + sizeof(SID_AND_ATTRIBUTES) + kLogonUser.size() <= 1024)
        token.groups.push_back({kLogonUser, kEnabled});
    // Pad the last SID's room to exactly 1,024 bytes with one more, smaller group if it fits.
    while (token.Needed() < 1024 && token.Needed() + sizeof(SID_AND_ATTRIBUTES) + 12 <= 1024)
        token.groups.push_back({Sid(5, {32}), kEnabled});
    ASSERT_LE(token.Needed(), 1024u);
    EXPECT_TRUE(IsUserAdministrator(token)) << token.Needed() << " bytes";

    token.groups.push_back({kEveryone, kEnabled});
    ASSERT_GT(token.Needed(), 1024u);
    EXPECT_FALSE(IsUserAdministrator(token)) << token.Needed() << " bytes";
    EXPECT_EQ(token.closed, token.opened);
}

TEST(IsUserAdministrator, ATokenThatDoesNotOpenOrReadFails)
{
    FakeToken closedToken;
    closedToken.groups = {{kAdministrators, kEnabled}};
    closedToken.opens = false;
    EXPECT_FALSE(IsUserAdministrator(closedToken));
    EXPECT_EQ(closedToken.closed, 0);

    FakeToken unreadable;
    unreadable.groups = {{kAdministrators, kEnabled}};
    unreadable.reads = false;
    EXPECT_FALSE(IsUserAdministrator(unreadable));
    EXPECT_EQ(unreadable.closed, 1);
}

// Finds advapi32's functions, as this Windows has them, except `missing`; records what is asked.
SecurityFunctionLookup AdvapiWithout(std::string missing, std::vector<std::string>* asked = nullptr)
{
    return [missing, asked](const char* name) -> FARPROC {
        if (asked)
            asked->push_back(name);
        return name == missing ? nullptr : ::GetProcAddress(::GetModuleHandleA("advapi32.dll"), name);
    };
}

const char* const kSecurityFunctionNames[] = {"OpenProcessToken", "GetTokenInformation", "AllocateAndInitializeSid",
                                              "EqualSid", "FreeSid"};

TEST(SecurityFunctions, TheFiveAreLookedUpByNameInAdvapi32)
{
    std::vector<std::string> asked;
    const SecurityFunctions found = LookUpSecurityFunctions(AdvapiWithout("", &asked));
    EXPECT_EQ(asked, std::vector<std::string>(std::begin(kSecurityFunctionNames), std::end(kSecurityFunctionNames)));

    const SecurityFunctions functions = LookUpSecurityFunctions();
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    ASSERT_NE(advapi, nullptr);
    const void* expected[] = {reinterpret_cast<void*>(::GetProcAddress(advapi, "OpenProcessToken")),
                              reinterpret_cast<void*>(::GetProcAddress(advapi, "GetTokenInformation")),
                              reinterpret_cast<void*>(::GetProcAddress(advapi, "AllocateAndInitializeSid")),
                              reinterpret_cast<void*>(::GetProcAddress(advapi, "EqualSid")),
                              reinterpret_cast<void*>(::GetProcAddress(advapi, "FreeSid"))};
    const void* looked[] = {reinterpret_cast<void*>(functions.openProcessToken),
                            reinterpret_cast<void*>(functions.getTokenInformation),
                            reinterpret_cast<void*>(functions.allocateAndInitializeSid),
                            reinterpret_cast<void*>(functions.equalSid), reinterpret_cast<void*>(functions.freeSid)};
    const void* given[] = {reinterpret_cast<void*>(found.openProcessToken),
                           reinterpret_cast<void*>(found.getTokenInformation),
                           reinterpret_cast<void*>(found.allocateAndInitializeSid),
                           reinterpret_cast<void*>(found.equalSid), reinterpret_cast<void*>(found.freeSid)};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(kSecurityFunctionNames[i]);
        EXPECT_NE(expected[i], nullptr);
        EXPECT_EQ(looked[i], expected[i]);
        EXPECT_EQ(given[i], expected[i]);
    }
}

// As on Windows 95, 98 and Me, which lack them: the test fails, and calls nothing it lacks.
TEST(IsUserAdministrator, ASecurityFunctionThisWindowsLacksFailsTheTest)
{
    for (const char* missing : kSecurityFunctionNames) {
        SCOPED_TRACE(missing);
        const SecurityFunctions functions = LookUpSecurityFunctions(AdvapiWithout(missing));
        EXPECT_FALSE(IsUserAdministrator(functions));
        // A token that lists the group still needs the SID functions.
        FakeToken token;
        token.groups = {{kAdministrators, kEnabled}};
        const bool sidFunction = std::string(missing) != "OpenProcessToken" && std::string(missing) != "GetTokenInformation";
        EXPECT_EQ(IsUserAdministrator(token, functions), !sidFunction);
        EXPECT_EQ(token.closed, token.opened);
    }
    // The same lookup with nothing missing admits the Wine user.
    EXPECT_TRUE(IsUserAdministrator(LookUpSecurityFunctions(AdvapiWithout(""))));
}

TEST(IsUserAdministrator, WineUserIsAnAdministrator)
{
    EXPECT_TRUE(IsUserAdministrator());
}

TEST(GetWindowsVersionClass, ClassOfTheRunningWindows)
{
    ASSERT_GE(g_expectedClass, 0) << "the expected class is the first argument";
    WindowsVersionClass versionClass = WindowsVersionClass::NotDetermined;
    GetWindowsVersionClass(versionClass);
    EXPECT_EQ(static_cast<int>(versionClass), g_expectedClass);
    EXPECT_EQ(launch::IsAdmittedWindows(versionClass), g_expectedClass == 4 || g_expectedClass == 7);
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_expectedClass = std::atoi(argv[1]);
    return RUN_ALL_TESTS();
}
