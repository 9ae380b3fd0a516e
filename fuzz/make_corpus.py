#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target from the shipped data files and real wire texts."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
APP_ID = b"6b1d4c2e-47a0-4f31-9e52-glyphdrop"
BLOCK = b"xxxAnnjjjhh*Oslo*qqcc*3*eerr*1*pptt*2*vvmm*0*aa"


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def text(value, width):
    return value[:width].ljust(width, b" ")


def profile(name, password=b"", location=b"", played=0, won=0, lost=0, tied=0):
    sounds = b"".join(text(b"sound%d.wav" % i, 150) for i in range(8))
    return (text(name, 25) + text(password, 10) + text(location, 25) + struct.pack("<h", 1) +
            text(b"http://127.0.0.1/me.png", 150) + sounds + text(b"wood", 10) +
            struct.pack("<h", 0) + text(b"", 150) + struct.pack("<h", 0) + text(b"TCP/IP", 50) +
            struct.pack("<4h", played, won, lost, tied) + bytes(250) + struct.pack("<3h", 2, 0, 0))


def frame(kind, payload):
    return struct.pack(">H", len(payload) + 1) + kind + payload


def main():
    for name, form in (("payload", b"q17"), ("lan", b"Mq17"), ("edge", b"z41"), ("zero", b"Ma0")):
        write("move_fuzz", name, form)

    write("playdata_fuzz", "block", BLOCK)
    write("playdata_fuzz", "lan_profile", b"s" + BLOCK)
    write("playdata_fuzz", "negative", b"xxxBo Lindjjjhh*Le Mans*qqcc*-2*eerr*32767*pptt*0*vvmm*1*aa")
    # A name and location that join the block's markers: "Raj" + "jjj", "*" + "MOVE" + "*".
    write("playdata_fuzz", "awkward_texts", b"Raj\nMOVE")

    join = APP_ID + b"\n3141592653\nAnn"
    write("lan_wire_fuzz", "join", frame(b"J", join))
    write("lan_wire_fuzz", "session", frame(b"J", join) + frame(b"A", b"Bob") + frame(b"T", b"Mq17") +
          frame(b"T", b"mhello") + frame(b"H", b"") + frame(b"T", b"s" + BLOCK) + frame(b"B", b""))
    write("lan_wire_fuzz", "refuse", frame(b"R", b"The session is full."))
    write("lan_wire_fuzz", "query", b"GLYPHDROP-LAN/1 Q " + APP_ID)
    write("lan_wire_fuzz", "answer", b"GLYPHDROP-LAN/1 S " + APP_ID + b" 3141592653 47821 Ann Lee")
    write("lan_wire_fuzz", "join_payload", join)

    with open(os.path.join(DATA, "GLYPHDROP.HLP"), "rb") as f:
        help_text = f.read()
    write("help_fuzz", "whole", help_text)
    write("help_fuzz", "head", help_text[:help_text.find(b"@topic 30")])
    write("help_fuzz", "topic", help_text[help_text.find(b"@topic 20"):help_text.find(b"@topic 30")])

    with open(os.path.join(DATA, "wordlist.dic"), "rb") as f:
        words = f.read()
    write("wordlist_fuzz", "first", words[:246 * 6])
    write("wordlist_fuzz", "middle", words[246 * 1000:246 * 1004])
    write("wordlist_fuzz", "partial", words[:246 * 2 + 100])

    two = profile(b"Ann", b"secret", b"Oslo", 3, 1, 2, 0) + profile(b"Computer")
    for op in range(4):
        write("profile_fuzz", "two_op%d" % op, bytes([op, 0]) + two)
    write("profile_fuzz", "three_tail", bytes([3, 2]) + two + profile(b"  Bob ", lost=32767) +
          b"partial")
    write("profile_fuzz", "empty", bytes([1, 0]))

    first = b"Glyphdrop\n"
    entry = (b"*$*G1$*$*#*Ann + Co#*#**#**Le Mans##*##***#***3###*###****#****1####*####*****#*****"
             b"YES#####*#####\n")
    for name, reply in (
            ("mailbox", b"*CHAT* ***$$1+1 = 2$$$**\n*MOVE* *#*$q17$*#*\nPLAYDATA " + BLOCK + b"\n"
             b"*PICURL* **#$http://127.0.0.1/a.png$#**\nQUIT*GAME\n"),
            ("start", b"START*GAME " + BLOCK + b"\n"), ("empty", b"FILE*NOT*FOUND\n"),
            ("waiting", entry + entry.replace(b"G1", b"G2").replace(b"YES", b"NO")),
            ("nobody", b"No players are waiting.\n"), ("entered", b"***--ENTRY--***ttttG1ssss\n"),
            ("full", b"***--FULL--***\n"), ("joined", b"-JOINED-\n"),
            ("badpassword", b"*BADPASSWORD*\n"), ("written", b"WRITE*OK\n"),
            ("current", b"*CURRENT*\n"), ("updated", b"*UPDATED*\n")):
        write("internet_reply_fuzz", name, first + reply)

    base = b"/Glyphdrop/"
    enter = b"0" + base + b"joinwait.mv?ann%40x.org+Ann%20%2B%20Co+Le%20Mans+3+1+YES+pa%2Bss+120"
    join_game = b"1" + base + b"joingame.mv?G1+bob%40y+pa%2Bss"
    write("server_request_fuzz", "game", b"\n".join([
        enter, b"1" + base + b"readwait.mv", join_game,
        b"1" + base + b"postdata.mv?sG1+START+" + BLOCK,
        b"1" + base + b"postdata.mv?sG1+CHAT+1+1%20=%202",
        b"0" + base + b"getdata.mv?sG1",
        b"0" + base + b"postdata.mv?cG1+MOVE+q17",
        b"0" + base + b"postdata.mv?cG1+PICURL+http://127.0.0.1/a.png",
        b"1" + base + b"getdata.mv?cG1",
        b"0" + base + b"postdata.mv?cG1+QUIT",
        b"1" + base + b"getdata.mv?cG1"]))
    write("server_request_fuzz", "leave", b"\n".join([
        enter, b"0" + base + b"exitwait.mv?G1", b"2" + base + b"readwait.mv"]))
    write("server_request_fuzz", "update", b"0" + base + b"updates.mv?1.1\n4" + base +
          b"getdata.mv?s1%2")


if __name__ == "__main__":
    main()
