// Every fault the system-file reader refuses, each in a small file, with the
// one-line message that names the file, the line and the key.

#include <gtest/gtest.h>

#include <string>

#include "system/system_faults.hpp"
#include "system/system_file.hpp"
#include "system/system_files.hpp"

namespace adequacy::testing {
namespace {

TEST(SystemFileValidation, EachFaultGivesItsMessageWithFileLineAndKey) {
    for (const Fault& fault : systemFileFaults) {
        SystemFileFolder folder;
        const std::string path = folder.write("system.toml", fault.text);
        auto result = system::readSystemFile(path);
        ASSERT_TRUE(std::holds_alternative<system::SystemFileError>(result)) << fault.what;
        const std::string message = system::describe(std::get<system::SystemFileError>(result));
        const std::string dir = path.substr(0, path.rfind('/'));
        const std::string expected = path + ":" + expectedMessage(fault, dir);
        if (fault.prefixOnly)
            EXPECT_EQ(message.substr(0, expected.size()), expected) << fault.what;
        else
            EXPECT_EQ(message, expected) << fault.what;
        EXPECT_EQ(message.find('\n'), std::string::npos) << fault.what;
    }
}

TEST(SystemFileValidation, AMissingOrUnreadableFileIsNamedWithoutALine) {
    SystemFileFolder folder;
    auto missing = system::readSystemFile(folder.path("absent.toml"));
    ASSERT_TRUE(std::holds_alternative<system::SystemFileError>(missing));
    EXPECT_EQ(system::describe(std::get<system::SystemFileError>(missing)),
              folder.path("absent.toml") + ": cannot open: No such file or directory");
    std::filesystem::create_directory(folder.path("folder.toml"));
    auto folderResult = system::readSystemFile(folder.path("folder.toml"));
    ASSERT_TRUE(std::holds_alternative<system::SystemFileError>(folderResult));
    EXPECT_EQ(system::describe(std::get<system::SystemFileError>(folderResult)),
              folder.path("folder.toml") + ": is a folder, not a file");
}

TEST(SystemFileValidation, TheValidBaseOfTheCasesIsAccepted) {
    SystemFileFolder folder;
    auto result = system::readSystemFile(folder.write("system.toml", validSystem));
    ASSERT_TRUE(std::holds_alternative<StudySystem>(result))
        << system::describe(std::get<system::SystemFileError>(result));
}

}  // namespace
}  // namespace adequacy::testing
