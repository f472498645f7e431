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
    ASSERT_EQ(RunProgram({"dpkg-deb", "-x", deb, output.File("unpacked")}).status, 0);
    EXPECT_EQ(DescribeTree(output.File("unpacked")), ExpectedGameTree("/usr"));
    // dpkg-deb -c lists "mode owner/group size date time ./path".
    std::istringstream listing(RunProgram({"dpkg-deb", "-c", deb}).output);
    for (std::string line; std::getline(listing, line);) {
        EXPECT_NE(line.find(" root/root "), std::string::npos) << line;
    }
    const auto field = [&deb](const char* name) {
        return RunProgram({"dpkg-deb", "-f", deb, name}).output;
    };
    EXPECT_EQ(field("Version") + field("Architecture") + field("Recommends"),
              BRISGOLA_VERSION "\n" + architecture + "alsa-utils\n");
    // dpkg-shlibdeps found what the program links.
    const std::string depends = field("Depends");
    EXPECT_TRUE(depends.find("libc6") != std::string::npos &&
                depends.find("libx11-6") != std::string::npos)
        << depends;
}
