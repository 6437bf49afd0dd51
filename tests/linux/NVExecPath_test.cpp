#include "platform/linux/NVExecPath.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A file with its folders made first.
void write_file(const std::filesystem::path& p, const std::string& content)
{
    std::filesystem::create_directories(p.parent_path());
    nvtest::write_file(p, content);
}


void make_exe(const fs::path& p, const std::string& content = "#!/bin/sh\n")
{
    write_file(p, content);
    fs::permissions(p, fs::perms::owner_all);
}

using Args = std::vector<std::string>;

TEST(ExecPath, ArgumentsLoseQuotingAndFieldCodes)
{
    EXPECT_EQ(nv_exec_arguments("krita %F"), (Args{"krita"}));
    EXPECT_EQ(nv_exec_arguments("  app\t--new-window %u %i %c %k "), (Args{"app", "--new-window"}));
    EXPECT_EQ(nv_exec_arguments(R"("/opt/My App/run" "a \"q\" \\ \$x" 100%%)"),
              (Args{"/opt/My App/run", "a \"q\" \\ $x", "100%"}));
    EXPECT_EQ(nv_exec_arguments(R"(prog "" --file=%f)"), (Args{"prog", "", "--file="}));
    EXPECT_TRUE(nv_exec_arguments(R"(prog "unterminated)").empty());
}

class ExecResolve : public ::testing::Test {
protected:
    void SetUp() override
    {
        bin = tmp.path() / "bin";
        other = tmp.path() / "other";
        make_exe(tmp.path() / "real" / "paint-5");
        fs::create_directories(bin);
        fs::create_symlink(tmp.path() / "real" / "paint-5", bin / "paint");
        make_exe(other / "paint"); // later in PATH: not taken
        write_file(bin / "notexec", "data");
        make_exe(other / "notexec");
        env.path = bin.string() + "::relative:" + other.string();
        env.snapRoot = tmp.path() / "snap";
        env.flatpakDirs = {tmp.path() / "fp-user", tmp.path() / "fp-system"};
    }
    std::string real(const char* rel) { return fs::canonical(tmp.path() / rel).string(); }

    nvtest::TempDir tmp;
    fs::path bin, other;
    NVExecEnv env;
};

TEST_F(ExecResolve, NativeProgramsThroughPathEnvAndSymlinks)
{
    const std::string paint = real("real/paint-5");
    EXPECT_EQ(nv_resolve_exec("paint %U", env).path, paint) << "first PATH folder, symlink resolved";
    EXPECT_EQ(nv_resolve_exec("env GDK_BACKEND=x11 -u LANG QT_SCALE=2 paint --fresh", env).path, paint);
    EXPECT_EQ(nv_resolve_exec((bin / "paint").string() + " -x", env).path, paint);
    EXPECT_EQ(nv_resolve_exec("notexec", env).path, real("other/notexec")) << "a file without x right is skipped";
    EXPECT_EQ(nv_resolve_exec("paint", env).kind, NVProgramKind::Native);
    EXPECT_EQ(nv_resolve_program_file(bin / "paint", env).path, paint);

    for (const char* missing : {"absent-program", "env FOO=1", "", "relative/paint", "%U"})
        EXPECT_EQ(nv_resolve_exec(missing, env).path, "") << missing;
    EXPECT_EQ(nv_resolve_exec((bin / "notexec").string(), env).path, "") << "not executable";
    EXPECT_EQ(nv_resolve_program_file("paint", env).path, "");
}

TEST_F(ExecResolve, FlatpakRunsItsCommandUnderAppBin)
{
    write_file(tmp.path() / "fp-system/app/org.example.Paint/current/active/metadata",
               "[Application]\nname=org.example.Paint\nruntime=x\ncommand=paint-launcher\n\n[Context]\ncommand=no\n");
    make_exe(bin / "flatpak");
    const NVProgram p = nv_resolve_exec("flatpak run --branch=stable --arch=x86_64 org.example.Paint %U", env);
    EXPECT_EQ(p.kind, NVProgramKind::Flatpak);
    EXPECT_EQ(p.path, "/app/bin/paint-launcher");
    EXPECT_EQ(nv_resolve_exec("/usr/bin/flatpak run --command=krita org.kde.krita --file-forwarding @@u %u @@", env).path,
              "/app/bin/krita");
    EXPECT_EQ(nv_resolve_exec("flatpak run org.unknown.App", env).path, "") << "no metadata, no command";
}

TEST_F(ExecResolve, SnapLaunchersMapToTheRevisionsCommand)
{
    const fs::path rev = env.snapRoot / "paint" / "42";
    make_exe(rev / "usr/bin/paint");
    make_exe(rev / "bin/tool");
    write_file(rev / "meta/snap.yaml", "name: paint\napps:\n  paint:\n    command: usr/bin/paint --x\n"
                                       "    plugs: [x11]\n  tool:\n    command: $SNAP/bin/tool\n"
                                       "command: wrong\n");
    fs::create_symlink("42", env.snapRoot / "paint" / "current");
    make_exe(env.snapRoot / "bin" / "paint");
    make_exe(env.snapRoot / "bin" / "paint.tool");
    env.path += ":" + (env.snapRoot / "bin").string();

    NVProgram p = nv_resolve_exec("env BAMF_DESKTOP_FILE_HINT=/x.desktop " + (env.snapRoot / "bin/paint").string() + " %U", env);
    EXPECT_EQ(p.kind, NVProgramKind::Snap);
    EXPECT_EQ(p.path, fs::canonical(rev / "usr/bin/paint").string()) << "the revision, as the running process shows";
    EXPECT_EQ(nv_resolve_exec("paint.tool", env).path, fs::canonical(rev / "bin/tool").string());
    EXPECT_EQ(nv_resolve_exec(env.snapRoot.string() + "/bin/other", env).path, "") << "no such snap";
}

TEST_F(ExecResolve, AppImagesAreRecognisedByNameOrMagic)
{
    make_exe(tmp.path() / "apps/Paint-x86_64.AppImage", "ELF");
    make_exe(tmp.path() / "apps/paint-runner", std::string("\x7f" "ELF\2\1\1\0AI\2rest", 16));
    EXPECT_EQ(nv_resolve_exec((tmp.path() / "apps/Paint-x86_64.AppImage").string(), env).kind, NVProgramKind::AppImage);
    EXPECT_EQ(nv_resolve_program_file(tmp.path() / "apps/paint-runner", env).kind, NVProgramKind::AppImage);
}

} // namespace
