#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace kem::test {

// A test fixture with a fresh folder under the system's temporary folder, removed with its
// contents afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    TempFolderTest();
    ~TempFolderTest() override;

    // Creates a small file of that name in the folder.
    void touch(const std::filesystem::path& name) const;

    std::filesystem::path dir;
};

}  // namespace kem::test
