// The network options: hosting with or without a port and the blob mode,
// joining a host with or without a port, and every combination the program
// cannot follow refused as a wrong option.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace {

CommandLine parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "blokit");
    return parse_command_line(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, NetworkOptionsAskForAHostOrAJoin) {
    CommandLine options = parse({"--host"});
    ASSERT_TRUE(options.network);
    EXPECT_TRUE(options.network->host);
    EXPECT_EQ(options.network->port, default_port);
    EXPECT_EQ(options.network->mode, GameMode::Blokit);

    options = parse({"--host", "65535", "--blob"});
    ASSERT_TRUE(options.network);
    EXPECT_EQ(options.network->port, 65535);
    EXPECT_EQ(options.network->mode, GameMode::Blob);

    options = parse({"--join", "game.example:4000"});
    ASSERT_TRUE(options.network);
    EXPECT_FALSE(options.network->host);
    EXPECT_EQ(options.network->host_name, "game.example");
    EXPECT_EQ(options.network->port, 4000);
    options = parse({"--join", "10.0.0.2"});
    ASSERT_TRUE(options.network);
    EXPECT_EQ(options.network->port, default_port);
    EXPECT_FALSE(options.wrong);
}

TEST(CommandLine, NetworkOptionsThatCannotBeFollowedAreWrong) {
    for (const std::vector<const char*>& arguments :
         std::vector<std::vector<const char*>>{{"--host", "0"},
                                               {"--host", "65536"},
                                               {"--host", "12ab"},
                                               {"--join"},
                                               {"--join", ":4000"},
                                               {"--join", "host:"},
                                               {"--join", "host", "--host"},
                                               {"--join", "host", "--blob"},
                                               {"--blob"},
                                               {"--host", "--replay", "file.bkr"}}) {
        const CommandLine options = parse(arguments);
        EXPECT_TRUE(options.wrong)
            << arguments[0] << " " << (arguments.size() > 1 ? arguments[1] : "");
        EXPECT_FALSE(options.network);
    }
}

} // namespace
