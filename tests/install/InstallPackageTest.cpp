#include <gtest/gtest.h>

#include <sstream>

#include "install/StagedInstall.h"
#include "support/TempFolder.h"
#include "tools/harness/RunningProgram.h"

TEST(InstallPackage, DebianPackageHoldsTheGameAndDeclaresWhatItNeeds) {
    TempFolder output;
    const ProgramResult packed =
        RunProgram({BRISGOLA_CPACK, "-G", "DEB", "--config",
                    BRISGOLA_BUILD_DIR "/CPackConfig.cmake", "-B", output.Path()});
    ASSERT_EQ(packed.status, 0) << packed.output;
    const std::string architecture = RunProgram({"dpkg", "--print-architecture"}).output;
    const std::string deb = output.File("brisgola_" BRISGOLA_VERSION "_" +
                                        architecture.substr(0, architecture.size() - 1) + ".deb");

    // dpkg-deb -c lists "mode owner/group size date time ./path"; folders end with a slash.
    const ProgramResult listing = RunProgram({"dpkg-deb", "-c", deb});
    ASSERT_EQ(listing.status, 0) << listing.output;
    const std::map<std::string, std::string> modes = {
        {"drwxr-xr-x", "d 0755"}, {"-rwxr-xr-x", "f 0755"}, {"-rw-r--r--", "f 0644"}};
    std::map<std::string, std::string> contents;
    std::istringstream lines(listing.output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string permissions, owner, size, date, time, path;
        fields >> permissions >> owner >> size >> date >> time >> path;
        EXPECT_EQ(owner, "root/root") << line;
        path = path.substr(2, path.size() - (path.back() == '/' ? 3 : 2));
        if (!path.empty()) {
            contents[path] = modes.count(permissions) ? modes.at(permissions) : permissions;
        }
    }
    EXPECT_EQ(contents, ExpectedGameTree("/usr")) << listing.output;

    const auto field = [&deb](const char* name) {
        return RunProgram({"dpkg-deb", "-f", deb, name}).output;
    };
    EXPECT_EQ(field("Version"), BRISGOLA_VERSION "\n");
    EXPECT_EQ(field("Architecture"), architecture);
    EXPECT_EQ(field("Recommends"), "alsa-utils\n");
    // dpkg-shlibdeps found what the program links.
    const std::string depends = field("Depends");
    EXPECT_NE(depends.find("libc6"), std::string::npos) << depends;
    EXPECT_NE(depends.find("libx11-6"), std::string::npos) << depends;
    // A synopsis of one short line, then the long description on lines of their own.
    const std::string description = field("Description");
    EXPECT_LE(description.find('\n'), 80u) << description;
    EXPECT_GT(description.size(), description.find('\n') + 1) << description;
}
