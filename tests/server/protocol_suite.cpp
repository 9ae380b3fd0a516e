// The contract between the program and the server, on every store: each request built by the
// program's own URL builders, answered by the real server over loopback HTTP, and each reply read
// by the program's own readers, for every script and every kind of message.
#include "protocol_suite.h"

#include <vector>

#include "protocol.h"
#include "server_process.h"

namespace gd::server::test {

namespace {

using wire::MessageKind;

const std::string kBlock = wire::WritePlayDataBlock({"Bob De", "Rome", "4", "2", "1", "-1"});

}  // namespace

std::string ServerProtocol::Base() const {
    return "http://127.0.0.1:" + std::to_string(http->Port());
}

std::string ServerProtocol::Get(const std::string& url, const std::string& address) {
    const HttpAnswer reply = HttpGet(url, address);
    lastStatus = static_cast<int>(reply.status);
    return reply.body;
}

std::string ServerProtocol::Enter(const std::string& name, bool isPrivate,
                                  const std::string& address) {
    EnterWaitRequest r{"ann@x.org", name, "Paris", 4, 2, isPrivate, isPrivate ? "s cret" : "none",
                       300};
    return ReadEnterWaitReply(Get(JoinWaitUrl(Base(), r), address)).gameNumber;
}

bool ServerProtocol::Join(const std::string& game, const std::string& password,
                          const std::string& address) {
    return ReadJoinReply(Get(JoinGameUrl(Base(), game, "bob@x.org", password), address)) ==
           JoinAnswer::Joined;
}

std::string ServerProtocol::StartGame(const std::string& joiner) {
    const std::string game = Enter();
    EXPECT_TRUE(Join(game, "", joiner));
    return game;
}

bool ServerProtocol::Post(const std::string& key, PostKind kind, const std::string& text,
                          const std::string& address) {
    return MoveStored(Get(PostUrl(Base(), key, kind, text), address));
}

wire::MailboxReply ServerProtocol::Read(const std::string& key, const std::string& address,
                                        std::optional<std::int64_t> confirm) {
    return ReadMailboxReply(Get(GetDataUrl(Base(), key, confirm), address));
}

std::vector<wire::WaitingEntry> ServerProtocol::Waiting() {
    return ReadWaitingList(Get(ReadWaitUrl(Base()))).entries;
}

// Guards against a waiting room that loses, keeps or shows entries wrongly, or a game joined
// twice; when waits end, how many fit and who may join are the store rules' test.
TEST_P(ServerProtocol, WaitingRoomEntersListsJoinsAndLeaves) {
    EXPECT_TRUE(Waiting().empty());
    const std::string first = Enter("Ann Lee", true);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(Waiting().size(), 1u);
    EXPECT_EQ(WaitingListLine(Waiting()[0]),
              WaitingListLine({first, "Ann Lee", "Paris", "4", "2", "YES"}));
    Enter("Bo");
    clock.now += 200'000;
    const std::string cy = Enter("Cy");
    EXPECT_EQ(
        ReadEnterWaitReply(Get(JoinWaitUrl(Base(), {"e", "Di", "L", 0, 0, false, "", 300}))).answer,
        EnterWaitAnswer::Full);
    clock.now += 100'000;  // Ann's and Bo's 300 seconds have passed
    EXPECT_EQ(Waiting().size(), 1u);
    EXPECT_FALSE(Join(first, "s cret"));
    const std::string di = Enter("Di", true);
    EXPECT_EQ(ReadJoinReply(Get(JoinGameUrl(Base(), di, "b", "x"))), JoinAnswer::BadPassword);
    Get(ExitWaitUrl(Base(), "s" + cy), "127.0.0.2");  // only the host may withdraw
    EXPECT_EQ(Waiting().size(), 2u);
    Get(ExitWaitUrl(Base(), "s" + cy));
    EXPECT_TRUE(Join(di, "s cret"));
    EXPECT_FALSE(Join(di, "s cret"));
    EXPECT_TRUE(Waiting().empty());
}

// Guards against a store that delivers messages out of order, twice, or not as the read's rule
// says (the rule itself is the store rules' test).
TEST_P(ServerProtocol, ReadsDeliverEveryKindInOrderOnce) {
    const std::string g = StartGame();
    const std::string s = wire::MailboxKey(wire::Side::Host, g);
    for (const auto& [kind, text] :
         std::vector<std::pair<PostKind, std::string>>{{PostKind::Chat, "one"},
                                                       {PostKind::Move, "a3"},
                                                       {PostKind::PictureUrl, "http://p/x.jpg"},
                                                       {PostKind::Chat, "two"},
                                                       {PostKind::Quit, ""},
                                                       {PostKind::Start, kBlock},
                                                       {PostKind::Data, kBlock}})
        EXPECT_TRUE(Post(s, kind, text));
    const MailboxReply first = Read(s);
    EXPECT_TRUE(first.chat == "one" && first.move == "a3" && first.pictureUrl == "http://p/x.jpg");
    EXPECT_EQ(Read(s).chat, "two");
    EXPECT_TRUE(Read(s).quit);
    const MailboxReply start = Read(s);
    ASSERT_TRUE(start.startGame && !start.playData);
    EXPECT_EQ(start.startGame->name, "Bob De");
    EXPECT_EQ(start.startGame->tied, "-1");
    EXPECT_EQ(Read(s).playData->location, "Rome");
    EXPECT_TRUE(Read(s).empty);
    EXPECT_TRUE(Read(wire::MailboxKey(wire::Side::Joiner, g)).empty);  // the other mailbox
}

// Guards against messages lost with a reply that never arrived: a read that confirms a batch
// gets the unconfirmed one again, and a confirmed one never comes back.
TEST_P(ServerProtocol, AnUnconfirmedBatchIsSentAgain) {
    const std::string g = StartGame();
    const std::string s = "s" + g;
    EXPECT_TRUE(Post(s, PostKind::Chat, "one") && Post(s, PostKind::Chat, "two") &&
                Post(s, PostKind::Quit));
    const MailboxReply first = Read(s, "127.0.0.1", 0);
    EXPECT_EQ(first.chat, "one");
    ASSERT_GT(first.batch, 0);
    const MailboxReply lost = Read(s, "127.0.0.1", 0);  // as if the first reply never came
    EXPECT_EQ(lost.chat, "one");
    EXPECT_EQ(lost.batch, first.batch);
    const MailboxReply second = Read(s, "127.0.0.1", first.batch);
    EXPECT_EQ(second.chat, "two");
    EXPECT_GT(second.batch, first.batch);
    EXPECT_EQ(Read(s, "127.0.0.1", first.batch).chat, "two");  // confirming an old one again
    const MailboxReply quit = Read(s, "127.0.0.1", second.batch);
    EXPECT_TRUE(quit.quit && !quit.chat);
    EXPECT_TRUE(Read(s, "127.0.0.1", quit.batch).empty);
    // A plain read takes an unconfirmed batch with it, as reads always did.
    Post(s, PostKind::Chat, "three");
    EXPECT_EQ(Read(s, "127.0.0.1", quit.batch).chat, "three");
    EXPECT_EQ(Read(s).chat, "three");
    EXPECT_TRUE(Read(s, "127.0.0.1", 0).empty);
}

// Guards against a move stored twice when the program repeats a post it saw no answer to.
TEST_P(ServerProtocol, ARetriedMoveIsStoredOnce) {
    const std::string g = StartGame();
    EXPECT_TRUE(Post("c" + g, PostKind::Move, "e17"));
    EXPECT_TRUE(Post("c" + g, PostKind::Move, "e17"));
    EXPECT_EQ(Read("c" + g).move, "e17");
    EXPECT_TRUE(Read("c" + g).empty);
    Post("s" + g, PostKind::Move, "f18");  // the partner moved since: the same move is a new one
    Post("c" + g, PostKind::Move, "e17");
    EXPECT_EQ(Read("c" + g).move, "e17");
}

// Guards against a store that lets anyone but the game's players read or post its messages.
TEST_P(ServerProtocol, MailboxesAreBoundToThePlayersAddresses) {
    const std::string g = Enter();
    EXPECT_FALSE(Post("s" + g, PostKind::Chat, "early", "127.0.0.2"));
    EXPECT_TRUE(Join(g, "", "127.0.0.2"));
    EXPECT_FALSE(Post("s" + g, PostKind::Chat, "spoof", "127.0.0.3"));
    EXPECT_EQ(lastStatus, 403);
    EXPECT_TRUE(Post("s" + g, PostKind::Chat, "hi", "127.0.0.2"));
    EXPECT_TRUE(Read("s" + g, "127.0.0.2").empty);
    EXPECT_EQ(Read("s" + g, "127.0.0.1").chat, "hi");
    ServiceOptions unbound;
    unbound.bound = false;
    Start(unbound);
    const std::string h = StartGame("127.0.0.2");
    EXPECT_TRUE(Post("s" + h, PostKind::Chat, "roaming", "127.0.0.4"));
    EXPECT_EQ(Read("s" + h, "127.0.0.5").chat, "roaming");
}

// Guards against a chat line, picture address, name or location that the server refuses or the
// other program reads as something else; only what no program sends is refused.
TEST_P(ServerProtocol, AnyTextAPlayerTypesArrivesAsTyped) {
    std::string printable = "! ";  // the program trims a chat line, so the blank goes inside
    for (char c = '"'; c < 0x7f; ++c)
        printable += c;
    const std::string name = "Ann *#* $*$ #*#", place = "*MOVE*q17 QUIT*GAME";
    const std::string g = Enter(name);
    EXPECT_EQ(Waiting().at(0).name, name);
    EXPECT_TRUE(Join(g, ""));
    for (const std::string& text : {printable, std::string("QUIT*GAME")}) {
        ASSERT_TRUE(Post("s" + g, PostKind::Chat, text)) << text;
        const MailboxReply read = Read("s" + g);
        EXPECT_EQ(read.chat, text);
        EXPECT_FALSE(read.quit || read.move || read.empty || read.socketError) << text;
    }
    ASSERT_TRUE(Post("s" + g, PostKind::PictureUrl, "http://x/$#**?a=*MOVE*"));
    EXPECT_EQ(Read("s" + g).pictureUrl, "http://x/$#**?a=*MOVE*");
    ASSERT_TRUE(
        Post("s" + g, PostKind::Data, wire::WritePlayDataBlock({name, place, "1", "0", "0", "0"})));
    EXPECT_EQ(Read("s" + g).playData->location, place);

    // Refused only what no program sends: a move the codec refuses, a block not as written, a
    // quit with a text, an unknown kind.
    EXPECT_FALSE(Post("s" + g, PostKind::Move, "a42"));
    EXPECT_FALSE(Post("s" + g, PostKind::Data, "xxxB*ojjjhh*R*qqcc*1*eerr*0*pptt*0*vvmm*0*aa"));
    EXPECT_FALSE(MoveStored(Get(Base() + "/Glyphdrop/postdata.mv?s" + g + "+QUIT+now")));
    EXPECT_FALSE(MoveStored(Get(Base() + "/Glyphdrop/postdata.mv?s" + g + "+SHOUT+hi")));
    EXPECT_EQ(lastStatus, 400);
}

// Guards against games that nobody plays any more keeping their mailboxes for ever.
TEST_P(ServerProtocol, IdleGamesAreRemoved) {
    const std::string g = StartGame();
    Post("s" + g, PostKind::Chat, "hello");
    clock.now += 1000LL * service->Options().idleSeconds + 1;
    EXPECT_EQ(service->RemoveIdleGames(), 1);
    EXPECT_TRUE(Read("s" + g).empty);
    EXPECT_FALSE(Post("s" + g, PostKind::Chat, "again"));
}

// Guards against a message reaching two reads when readers race for one mailbox.
TEST_P(ServerProtocol, ConcurrentReadersGetEachMessageOnce) {
    const std::string g = StartGame();
    ExpectEachMessageReadOnce(
        100, [&](int) { return Get(GetDataUrl(Base(), "s" + g)); },
        [&](int i) { return Post("s" + g, PostKind::Chat, "m" + std::to_string(i)); });
}

// Guards against the update check comparing versions as texts.
TEST_P(ServerProtocol, UpdateCheckComparesDottedNumbers) {
    EXPECT_EQ(ReadUpdateReply(Get(UpdatesUrl(Base(), "1.1"))), UpdateAnswer::Current);
    EXPECT_EQ(ReadUpdateReply(Get(UpdatesUrl(Base(), "1.10"))), UpdateAnswer::Current);
    EXPECT_EQ(ReadUpdateReply(Get(UpdatesUrl(Base(), "1.0.9"))), UpdateAnswer::Updated);
    EXPECT_EQ(ReadUpdateReply(Get(UpdatesUrl(Base(), ""))), UpdateAnswer::Updated);
}

}  // namespace gd::server::test
