// The profiles file as a user writes it by hand, and what it refuses.
#include <gtest/gtest.h>

#include "options/profile_file.h"

using namespace morvane;

TEST(ProfileFile, AHandWrittenFileGivesEachProfilesOptionsInItsOrder) {
    const char* text = R"(# my profiles
window-start = "strong"

[strong]
length = 20          # long enough
exclude-look-alikes = true
each-type = true
unique = false

[bank]
site = "mybank.example"
count = 1
)";
    ProfileProblem problem;
    const auto file = ReadProfiles(text, "profiles.toml", problem);
    ASSERT_TRUE(file) << problem.Text();
    EXPECT_EQ(file->window_start, "strong");
    ASSERT_EQ(file->profiles.size(), 2u);
    EXPECT_EQ(file->profiles[0].name, "strong");
    EXPECT_EQ(file->profiles[0].arguments,
              (std::vector<std::string>{"--length", "20", "--exclude-look-alikes", "--each-type"}));
    EXPECT_EQ(file->Find("bank")->arguments, (std::vector<std::string>{"--site", "mybank.example", "--count", "1"}));
}

TEST(ProfileFile, WhatIsNotAProfileIsRefusedWithTheFileAndLine) {
    const std::pair<const char*, const char*> refused[] = {
        {"[a]\ncolour = \"red\"\n", "profiles.toml:2: \"colour\" is not an option of a profile"},
        {"[a]\ncount = \"five\"\n", "profiles.toml:2: count must be a whole number"},
        {"[a]\nunique = 1\n", "profiles.toml:2: unique must be true or false"},
        {"\n[\"my bank\"]\ncount = 1\n", "profiles.toml:2: \"my bank\" is not a profile's name: letters, digits, - and _ only"},
        {"window-start = \"none\"\n[a]\ncount = 1\n", "profiles.toml:1: window-start names no profile of the file: none"},
    };
    for (const auto& [text, message] : refused) {
        ProfileProblem problem;
        EXPECT_FALSE(ReadProfiles(text, "profiles.toml", problem)) << text;
        EXPECT_EQ(problem.Text(), message) << text;
    }
    ProfileProblem broken;
    EXPECT_FALSE(ReadProfiles("[a\ncount = 1\n", "profiles.toml", broken));
    EXPECT_EQ(broken.line, 1);
}
