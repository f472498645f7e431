// The entry of every test executable.
//
// make test hands each display test an X server of its own, so that display tests run side by
// side: ctest allots one from a pool, described by a resource type named after the window
// manager that runs on the server and an id that is its display number, and tells the test
// through its environment. The test, and every program it starts, then talks to that server.
// Started by hand, a test uses the display the environment names.
//
// Suites built with BRISGOLA_TESTS_AS_ORDINARY_USER handle the files the program keeps. Root
// reads and writes everything, so started as root they give that up first and run as an
// ordinary user, for whom a file without permission fails as it does for a player.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The environment's name for the allotted server of a resource type, such as
// CTEST_RESOURCE_GROUP_0_OPENBOX for "openbox".
std::string AllotmentVariable(const std::string& type) {
    std::string name = "CTEST_RESOURCE_GROUP_0_";
    for (const char c : type) {
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

void UseAllottedDisplay() {
    const char* type = std::getenv("CTEST_RESOURCE_GROUP_0");
    if (type == nullptr) {
        return;
    }
    // "id:<display number>,slots:1"
    const char* allotment = std::getenv(AllotmentVariable(type).c_str());
    if (allotment == nullptr || std::strncmp(allotment, "id:", 3) != 0) {
        return;
    }
    const std::string number(allotment + 3, std::strcspn(allotment + 3, ","));
    setenv("DISPLAY", (":" + number).c_str(), 1);
    setenv("BRISGOLA_WINDOW_MANAGER", type, 1);
    std::printf("X server :%s with %s\n", number.c_str(), type);
}

#ifdef BRISGOLA_TESTS_AS_ORDINARY_USER
// The user and group "nobody", which own nothing the tests touch.
const uid_t kOrdinaryUser = 65534;
const gid_t kOrdinaryGroup = 65534;

bool BecomeOrdinaryUser() {
    if (geteuid() != 0) {
        return true;
    }
    if (setgroups(0, nullptr) != 0 || setgid(kOrdinaryGroup) != 0 || setuid(kOrdinaryUser) != 0) {
        std::perror("dropping root for the file tests");
        return false;
    }
    // A process that changed its user is no longer dumpable, which would close its own /proc
    // entries to it and keep the leak checker from inspecting it.
    prctl(PR_SET_DUMPABLE, 1);
    return true;
}
#endif

} // namespace

int main(int argc, char** argv) {
    UseAllottedDisplay();
#ifdef BRISGOLA_TESTS_AS_ORDINARY_USER
    if (!BecomeOrdinaryUser()) {
        return 1;
    }
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
