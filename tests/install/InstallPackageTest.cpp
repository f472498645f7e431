#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "support/RunningProgram.h"
#include "install/StagedInstall.h"
#include "support/TempFolder.h"

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \n");
    const size_t last = text.find_last_not_of(" \n");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// "drwxr-xr-x" as DescribeTree's "d 0755".
std::string DescribeMode(const std::string& permissions) {
    unsigned mode = 0;
    for (size_t at = 1; at < 10 && at < permissions.size(); ++at) {
        mode = mode << 1 | (permissions[at] != '-' ? 1u : 0u);
    }
    char text[16];
    snprintf(text, sizeof text, "%c %04o", permissions[0] == '-' ? 'f' : permissions[0], mode);
    return text;
}

// The control fields of a package, with continuation lines joined by newlines.
std::map<std::string, std::string> ControlFields(const std::string& control) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(control);
    std::string line;
    std::string key;
    while (std::getline(lines, line)) {
        if (line.empty()) {
            continue;
        }
        if (line[0] == ' ' && !key.empty()) {
            fields[key] += "\n" + line.substr(1);
        } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
            key = line.substr(0, colon);
            fields[key] = Trimmed(line.substr(colon + 1));
        }
    }
    return fields;
}

// The package names of a relationship field: "libc6 (>= 2.34), libx11-6" gives both names.
std::vector<std::string> PackageNames(const std::string& relation) {
    std::vector<std::string> names;
    std::istringstream items(relation);
    std::string item;
    while (std::getline(items, item, ',')) {
        item = Trimmed(item);
        names.push_back(item.substr(0, item.find_first_of(" (")));
    }
    return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

TEST(InstallPackage, DebianPackageHoldsTheGameAndDeclaresWhatItNeeds) {
    TempFolder output;
    const ProgramResult packed =
        RunProgram({BRISGOLA_CPACK, "-G", "DEB", "--config",
                    BRISGOLA_BUILD_DIR "/CPackConfig.cmake", "-B", output.Path()});
    ASSERT_EQ(packed.status, 0) << packed.output;
    const ProgramResult architecture = RunProgram({"dpkg", "--print-architecture"});
    ASSERT_EQ(architecture.status, 0) << architecture.output;
    const std::string deb =
        output.File("brisgola_" BRISGOLA_VERSION "_" + Trimmed(architecture.output) + ".deb");

    // dpkg-deb -c lists "mode owner/group size date time ./path"; folders end with a slash.
    const ProgramResult listing = RunProgram({"dpkg-deb", "-c", deb});
    ASSERT_EQ(listing.status, 0) << listing.output;
    std::map<std::string, std::string> contents;
    std::istringstream lines(listing.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string permissions, owner, size, date, time, path;
        fields >> permissions >> owner >> size >> date >> time >> path;
        EXPECT_EQ(owner, "root/root") << line;
        ASSERT_EQ(path.rfind("./", 0), 0u) << line;
        path = path.substr(2);
        if (!path.empty() && path.back() == '/') {
            path.pop_back();
        }
        if (!path.empty()) {
            contents[path] = DescribeMode(permissions);
        }
    }
    std::map<std::string, std::string> expected{{"usr", "d 0755"}};
    for (const auto& [path, description] : ExpectedGameTree()) {
        expected["usr/" + path] = description;
    }
    EXPECT_EQ(contents, expected) << listing.output;

    const ProgramResult control = RunProgram({"dpkg-deb", "-f", deb});
    ASSERT_EQ(control.status, 0) << control.output;
    auto fields = ControlFields(control.output);
    EXPECT_EQ(fields["Package"], "brisgola");
    EXPECT_EQ(fields["Version"], BRISGOLA_VERSION);
    EXPECT_EQ(fields["Architecture"], Trimmed(architecture.output));
    EXPECT_EQ(fields["Section"], "games");
    EXPECT_EQ(fields["Priority"], "optional");
    EXPECT_EQ(fields["Maintainer"], "The Brisgola Authors <info@brisgola.org>");
    EXPECT_EQ(fields["Homepage"], "https://www.brisgola.org");
    const std::vector<std::string> depends = PackageNames(fields["Depends"]);
    EXPECT_TRUE(Has(depends, "libx11-6")) << fields["Depends"];
    EXPECT_TRUE(Has(depends, "libc6")) << fields["Depends"];
    EXPECT_TRUE(Has(PackageNames(fields["Recommends"]), "alsa-utils")) << fields["Recommends"];
    EXPECT_FALSE(fields["Installed-Size"].empty());
    // A one-line synopsis, then the long description on lines of their own.
    const std::string description = fields["Description"];
    const size_t firstBreak = description.find('\n');
    ASSERT_NE(firstBreak, std::string::npos) << description;
    EXPECT_LE(firstBreak, 80u) << description;
    EXPECT_NE(description.find("first side to win ten"), std::string::npos) << description;
}
