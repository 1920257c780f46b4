#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

// A fresh temporary directory for one test, removed with everything in it at the end.
class VyTestDir
{
public:
    VyTestDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vywtestXXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~VyTestDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    VyTestDir(const VyTestDir&) = delete;
    VyTestDir& operator=(const VyTestDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Writes bytes to a file below the directory (creating folders) and returns its path.
    std::string Put(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::path path = m_path / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    static std::string Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};

// Makes a directory the working directory for one scope and goes back at its end.
class VyScopedWorkingDir
{
public:
    explicit VyScopedWorkingDir(const std::filesystem::path& path) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(path);
    }
    ~VyScopedWorkingDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }

private:
    std::filesystem::path m_previous;
};

// Runs a whole test program inside a fresh temporary working directory, so that files the framework
// makes there (vyw.cfg) never land in the build tree. Register once per program:
//     static auto* const g_environment = testing::AddGlobalTestEnvironment(new VyTempWorkingDir);
class VyTempWorkingDir : public testing::Environment
{
public:
    void SetUp() override { m_pInside = std::make_unique<VyScopedWorkingDir>(m_dir.Path()); }
    void TearDown() override { m_pInside.reset(); }

private:
    VyTestDir m_dir;
    std::unique_ptr<VyScopedWorkingDir> m_pInside;
};
