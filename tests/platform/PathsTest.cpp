#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include "platform/LoadableModule.h"

namespace {

namespace fs = std::filesystem;

std::string FolderText(const fs::path& folder) { return fs::canonical(folder).string() + "/"; }

TEST(HostAndPluginPath, AnswerTheProgramFolderForCodeLinkedIntoTheProgram) {
  const std::string programFolder = FolderText(PATHS_TEST_PROGRAM_DIR);
  EXPECT_EQ(platform::HostPath(), programFolder);
  EXPECT_EQ(platform::PluginPath(), programFolder);
}

TEST(HostAndPluginPath, ALoadedModuleAnswersItsOwnFolderAndTheHostsProgramFolder) {
  platform::LoadableModule module;
  std::string error;
  ASSERT_TRUE(module.Open(PATHS_PROBE_MODULE, &error)) << error;
  using Probe = const char* (*)();
  const auto pluginPath = reinterpret_cast<Probe>(module.Symbol("ProbePluginPath"));
  const auto hostPath = reinterpret_cast<Probe>(module.Symbol("ProbeHostPath"));
  ASSERT_NE(pluginPath, nullptr);
  ASSERT_NE(hostPath, nullptr);

  const std::string moduleFolder = FolderText(fs::path(PATHS_PROBE_MODULE).parent_path());
  ASSERT_NE(moduleFolder, FolderText(PATHS_TEST_PROGRAM_DIR));
  EXPECT_EQ(std::string(pluginPath()), moduleFolder);
  EXPECT_EQ(std::string(hostPath()), FolderText(PATHS_TEST_PROGRAM_DIR));

  // A host that hands the entry point some other module's handle does not
  // move the plug-in's folder: the module is found from its own code.
  using Record = void (*)(void*);
  const auto record = reinterpret_cast<Record>(module.Symbol("ProbeRecordModuleHandle"));
  ASSERT_NE(record, nullptr);
  void* program = dlopen(nullptr, RTLD_NOW);
  record(program);
  EXPECT_EQ(std::string(pluginPath()), moduleFolder);
  record(nullptr);
  dlclose(program);
}

// Sets the XDG variables and HOME for one test and puts the old ones back.
class UserFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
      const char* value = std::getenv(name);
      if (value != nullptr) mSaved[name] = value;
      unsetenv(name);
    }
    mHome = fs::temp_directory_path() / ("stratum-paths-" + std::to_string(getpid()));
    fs::remove_all(mHome);
    fs::create_directories(mHome / ".config");
    setenv("HOME", mHome.c_str(), 1);
  }
  void TearDown() override {
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
      const auto saved = mSaved.find(name);
      if (saved != mSaved.end()) {
        setenv(name, saved->second.c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    fs::remove_all(mHome);
  }
  std::string Home() const { return mHome.string() + "/"; }
  void WriteUserDirs(const fs::path& configFolder, const std::string& contents) {
    fs::create_directories(configFolder);
    std::ofstream(configFolder / "user-dirs.dirs") << contents;
  }

  fs::path mHome;
  std::map<std::string, std::string> mSaved;
};

TEST_F(UserFolders, UserApplicationDataFollowsAnAbsoluteDataHomeElseTheHomeFolder) {
  EXPECT_EQ(platform::UserAppDataPath(), Home() + ".local/share/");
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(platform::UserAppDataPath(), "/srv/data/");
  EXPECT_EQ(platform::AppDataPath(false), "/srv/data/");
  // Relative XDG folders are invalid and ignored.
  setenv("XDG_DATA_HOME", "data", 1);
  EXPECT_EQ(platform::UserAppDataPath(), Home() + ".local/share/");
}

TEST_F(UserFolders, SystemApplicationDataIsTheFirstSystemDataFolder) {
  EXPECT_EQ(platform::AppDataPath(true), "/usr/local/share/");
  setenv("XDG_DATA_DIRS", "/opt/share/:/usr/share", 1);
  EXPECT_EQ(platform::AppDataPath(true), "/opt/share/");
  setenv("XDG_DATA_DIRS", "share:/usr/share", 1);
  EXPECT_EQ(platform::AppDataPath(true), "/usr/local/share/");
}

TEST_F(UserFolders, DesktopComesFromTheUserDirectoriesFileWhenItNamesOne) {
  struct Case {
    const char* file;
    std::string expected;
  };
  const Case cases[] = {
      {nullptr, Home() + "Desktop/"},
      {"# written by xdg-user-dirs-update\nXDG_MUSIC_DIR=\"$HOME/Musik\"\n"
       "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n",
       Home() + "Schreibtisch/"},
      {"  XDG_DESKTOP_DIR=\"/srv/desk\"\n", "/srv/desk/"},
      {"XDG_DESKTOP_DIR=\"$HOME\"\n", Home()},
      {"XDG_DESKTOP_DIR=$HOME/unquoted\n", Home() + "Desktop/"},
      {"XDG_DESKTOP_DIR=\"relative/desk\"\n", Home() + "Desktop/"},
      {"XDG_DESKTOP_DIR=\"$HOME/unterminated\n", Home() + "Desktop/"},
  };
  for (const Case& c : cases) {
    fs::remove(mHome / ".config" / "user-dirs.dirs");
    if (c.file != nullptr) WriteUserDirs(mHome / ".config", c.file);
    EXPECT_EQ(platform::DesktopPath(), c.expected) << (c.file ? c.file : "(no file)");
  }

  // The file is looked for in XDG_CONFIG_HOME when that is set.
  const fs::path otherConfig = mHome / "elsewhere";
  WriteUserDirs(otherConfig, "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n");
  setenv("XDG_CONFIG_HOME", otherConfig.c_str(), 1);
  EXPECT_EQ(platform::DesktopPath(), Home() + "Bureau/");
}

TEST_F(UserFolders, WithoutHomeTheUsersAccountNamesTheHomeFolder) {
  unsetenv("HOME");
  setenv("XDG_CONFIG_HOME", mHome.c_str(), 1);  // no user-dirs.dirs there
  const passwd* account = getpwuid(getuid());
  ASSERT_NE(account, nullptr);
  std::string home = account->pw_dir;
  if (home.back() != '/') home += '/';
  EXPECT_EQ(platform::DesktopPath(), home + "Desktop/");
  EXPECT_EQ(platform::UserAppDataPath(), home + ".local/share/");
}

}  // namespace
