// The protocol suite's cases: the waiting room, the mailbox rules and who may read and post.
#include "protocol_suite.h"

#include "server_process.h"

#include <vector>

namespace gd::server::test {

namespace {

const std::string kBlock = "xxxBob%20Dejjjhh*Rome*qqcc*4*eerr*2*pptt*1*vvmm*-1*aa";

}  // namespace

std::string ServerProtocol::Get(const std::string& target, const std::string& address) {
    const HttpAnswer reply = HttpGet(
        "http://127.0.0.1:" + std::to_string(http->Port()) + "/Glyphdrop/" + target, address);
    lastStatus = static_cast<int>(reply.status);
    // The program ignores a marker at a reply's first character.
    for (const char* marker :
         {"*CHAT*", "QUIT*GAME", "*PICURL*", "*MOVE*", "PLAYDATA", "START*GAME", "***--FULL--***",
          "***--ENTRY--***", "*BADPASSWORD*", "-JOINED-", "*CURRENT*", "*UPDATED*"})
        EXPECT_NE(reply.body.rfind(marker, 0), 0u) << target;
    return reply.body;
}

std::string ServerProtocol::Enter(const std::string& name, const std::string& privacy,
                                  const std::string& address) {
    return GameNumber(
        Get("joinwait.mv?ann%40x.org+" + name + "+Paris+4+2+" + privacy + "+300", address));
}

std::string ServerProtocol::StartGame(const std::string& joiner) {
    const std::string game = Enter();
    EXPECT_TRUE(Has(Get("joingame.mv?" + game + "+bob%40x.org+", joiner), "-JOINED-"));
    return game;
}

std::string ServerProtocol::Post(const std::string& key, const std::string& kindAndText,
                                 const std::string& address) {
    return Get("postdata.mv?" + key + "+" + kindAndText, address);
}

// Guards against a waiting room that loses, keeps or shows entries wrongly.
TEST_P(ServerProtocol, WaitingRoomEntersListsFillsAndExpires) {
    EXPECT_TRUE(Has(Get("readwait.mv"), "No players"));
    const std::string first = Enter("Ann%20Lee");
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(Has(Get("readwait.mv"), "*$*" + first +
                                            "$*$*#*Ann Lee#*#**#**Paris##*##"
                                            "***#***4###*###****#****2####*####*****#*****NO"));
    Enter("Bo");
    clock.now += 200'000;
    Enter("Cy");
    EXPECT_TRUE(Has(Get("joinwait.mv?e+Di+L+0+0+NO+none+300"), "***--FULL--***"));
    clock.now += 100'000;  // Ann's and Bo's 300 seconds have passed
    const std::string list = Get("readwait.mv");
    EXPECT_FALSE(Has(list, "Ann Lee"));
    EXPECT_TRUE(Has(list, "Cy"));
    EXPECT_FALSE(Has(Get("joingame.mv?" + first + "+b+"), "-JOINED-"));
    EXPECT_FALSE(Enter("Di").empty());

    const std::string di = "G" + std::to_string(numbers.next - 1);
    Get("exitwait.mv?" + di, "127.0.0.2");  // only the host may withdraw
    EXPECT_TRUE(Has(Get("readwait.mv"), "Di"));
    Get("exitwait.mv?" + di);
    EXPECT_FALSE(Has(Get("readwait.mv"), "Di"));
}

// Guards against joining a private game without its password, or joining a game twice.
TEST_P(ServerProtocol, JoinNeedsThePasswordOfAPrivateGameAndSucceedsOnce) {
    const std::string game = Enter("Ann", "YES+s%20cret");
    EXPECT_TRUE(Has(Get("joingame.mv?" + game + "+b+secret"), "*BADPASSWORD*"));
    EXPECT_TRUE(Has(Get("joingame.mv?" + game + "+b+s%20cret"), "-JOINED-"));
    EXPECT_FALSE(Has(Get("readwait.mv"), "Ann"));
    const std::string again = Get("joingame.mv?" + game + "+b+s%20cret");
    EXPECT_FALSE(Has(again, "-JOINED-") || Has(again, "*BADPASSWORD*"));
}

// Guards against a read that returns two messages of a kind, reorders them, or loses one.
TEST_P(ServerProtocol, AReadStopsAtTheFirstRepeatedKind) {
    const std::string g = StartGame();
    for (const char* m : {"CHAT+one", "MOVE+a3", "CHAT+two", "PICURL+http://p/x.jpg", "MOVE+b10"})
        EXPECT_TRUE(Has(Post("s" + g, m), "WRITE*OK"));
    const std::string first = Get("getdata.mv?s" + g);
    EXPECT_TRUE(Has(first, "***$$one$$$**") && Has(first, "*#*$a3$*#*"));
    EXPECT_FALSE(Has(first, "two"));
    const std::string second = Get("getdata.mv?s" + g);
    EXPECT_TRUE(Has(second, "***$$two$$$**") && Has(second, "**#$http://p/x.jpg$#**") &&
                Has(second, "*#*$b10$*#*"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g), "FILE*NOT*FOUND"));
    EXPECT_TRUE(Has(Get("getdata.mv?c" + g), "FILE*NOT*FOUND"));  // the other mailbox
}

// Guards against a quit read before earlier messages, and a play-data block sharing a reply.
TEST_P(ServerProtocol, QuitOnlyWhenOldestAndPlayDataAlone) {
    const std::string g = StartGame();
    for (const std::string& m : std::vector<std::string>{"CHAT+bye", "QUIT", "CHAT+late",
                                                         "START+" + kBlock, "DATA+" + kBlock})
        Post("s" + g, m);
    EXPECT_FALSE(Has(Get("getdata.mv?s" + g), "QUIT*GAME"));
    const std::string quit = Get("getdata.mv?s" + g);
    EXPECT_TRUE(Has(quit, "QUIT*GAME") && !Has(quit, "late"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g), "late"));
    const std::string start = Get("getdata.mv?s" + g);
    EXPECT_TRUE(Has(start, "START*GAME") && Has(start, "xxxBob Dejjjhh*Rome") &&
                !Has(start, "PLAYDATA"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g), "PLAYDATA"));
}

// Guards against a move stored twice when the program repeats a post it saw no answer to.
TEST_P(ServerProtocol, ARetriedMoveIsStoredOnce) {
    const std::string g = StartGame();
    EXPECT_TRUE(Has(Post("c" + g, "MOVE+e17"), "WRITE*OK"));
    EXPECT_TRUE(Has(Post("c" + g, "MOVE+e17"), "WRITE*OK"));
    EXPECT_TRUE(Has(Get("getdata.mv?c" + g), "e17"));
    EXPECT_TRUE(Has(Get("getdata.mv?c" + g), "FILE*NOT*FOUND"));
    Post("s" + g, "MOVE+f18");  // the partner moved since: the same move is a new one
    Post("c" + g, "MOVE+e17");
    EXPECT_TRUE(Has(Get("getdata.mv?c" + g), "e17"));
}

// Guards against anyone but the game's players reading or posting its messages.
TEST_P(ServerProtocol, MailboxesAreBoundToThePlayersAddresses) {
    const std::string g = Enter();
    EXPECT_FALSE(Has(Post("s" + g, "CHAT+early", "127.0.0.2"), "WRITE*OK"));
    EXPECT_TRUE(Has(Get("joingame.mv?" + g + "+b+", "127.0.0.2"), "-JOINED-"));
    EXPECT_FALSE(Has(Post("s" + g, "CHAT+spoof", "127.0.0.3"), "WRITE*OK"));
    EXPECT_EQ(lastStatus, 403);
    EXPECT_FALSE(Has(Post("c" + g, "CHAT+to%20self", "127.0.0.2"), "WRITE*OK"));
    EXPECT_TRUE(Has(Post("s" + g, "CHAT+hi", "127.0.0.2"), "WRITE*OK"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g, "127.0.0.3"), "FILE*NOT*FOUND"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g, "127.0.0.2"), "FILE*NOT*FOUND"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g, "127.0.0.1"), "hi"));

    ServiceOptions unbound;
    unbound.bound = false;
    Start(unbound);
    const std::string h = StartGame("127.0.0.2");
    EXPECT_TRUE(Has(Post("s" + h, "CHAT+roaming", "127.0.0.4"), "WRITE*OK"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + h, "127.0.0.5"), "roaming"));
}

// Guards against a player's text that the other program would read as the server's marker.
TEST_P(ServerProtocol, TextsHoldingMarkersAreRefused) {
    const std::string g = StartGame();
    for (const std::string m :
         {"CHAT+go%20*MOVE*%20*%23*$a3$*%23*", "CHAT+Socket%20Error", "CHAT+x$$$**y", "MOVE+a42",
          "MOVE+A3", "PICURL+http://x/$%23**", "DATA+xxxjjjjjhh*R*qqcc*1*eerr*0*pptt*0*vvmm*0*aa",
          "DATA+xxxBobjjjhh*R*qqcc*one*eerr*0*pptt*0*vvmm*0*aa", "QUIT+now", "SHOUT+hi"}) {
        EXPECT_FALSE(Has(Post("s" + g, m), "WRITE*OK")) << m;
        EXPECT_EQ(lastStatus, 400) << m;
    }
    EXPECT_TRUE(Enter("Ann%23*%23").empty());
    EXPECT_TRUE(Enter("Ann*").empty());  // with the list's "#*#" after it, makes "*#*"
    EXPECT_TRUE(Has(Post("s" + g, "CHAT+$5%20*bold*%20%23tag%20a+b%20xxx"), "WRITE*OK"));
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g), "***$$$5 *bold* #tag a+b xxx$$$**"));
}

// Guards against games that nobody plays any more keeping their mailboxes for ever.
TEST_P(ServerProtocol, IdleGamesAreRemoved) {
    const std::string g = StartGame();
    Post("s" + g, "CHAT+hello");
    clock.now += 1000LL * service->Options().idleSeconds + 1;
    EXPECT_EQ(service->RemoveIdleGames(), 1);
    EXPECT_TRUE(Has(Get("getdata.mv?s" + g), "FILE*NOT*FOUND"));
    EXPECT_FALSE(Has(Post("s" + g, "CHAT+again"), "WRITE*OK"));
}

// Guards against a message reaching two reads when readers race for one mailbox.
TEST_P(ServerProtocol, ConcurrentReadersGetEachMessageOnce) {
    const std::string g = StartGame();
    ExpectEachMessageReadOnce(
        100, [&](int) { return Get("getdata.mv?s" + g); },
        [&](int i) { return Has(Post("s" + g, "CHAT+m" + std::to_string(i)), "WRITE*OK"); });
}

// Guards against the update check comparing versions as texts.
TEST_P(ServerProtocol, UpdateCheckComparesDottedNumbers) {
    EXPECT_TRUE(Has(Get("updates.mv?1.1"), "*CURRENT*"));
    EXPECT_TRUE(Has(Get("updates.mv?1.10"), "*CURRENT*"));
    EXPECT_TRUE(Has(Get("updates.mv?1.0.9"), "*UPDATED*"));
    EXPECT_TRUE(Has(Get("updates.mv?"), "*UPDATED*"));
}

}  // namespace gd::server::test
