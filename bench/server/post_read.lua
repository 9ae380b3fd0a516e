-- wrk script: alternates a post into a game's mailbox with a read of that mailbox, over the
-- games listed in GAMES_FILE; the kinds rotate (chat, picture, move) so reads drain them.
-- With POSTS_ONLY=1 every request is a post.
local games = {}
for line in io.lines(os.getenv("GAMES_FILE")) do games[#games + 1] = line end
local counter = 0
local postsOnly = os.getenv("POSTS_ONLY") == "1"

request = function()
    local pair = math.floor(counter / 2)
    local game = games[pair % #games + 1]
    local post = postsOnly or counter % 2 == 0
    counter = counter + 1
    if not post then
        return wrk.format("GET", "/Glyphdrop/getdata.mv?s" .. game)
    end
    local kind = pair % 3
    local text
    if kind == 0 then
        text = "CHAT+hello%20" .. pair
    elseif kind == 1 then
        text = "PICURL+http://example.invalid/p" .. pair .. ".jpg"
    else
        text = "MOVE+" .. string.char(97 + pair % 26) .. (pair % 42)
    end
    return wrk.format("GET", "/Glyphdrop/postdata.mv?s" .. game .. "+" .. text)
end
