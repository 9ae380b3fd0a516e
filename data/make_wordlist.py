#!/usr/bin/env python3
"""Makes wordlist.dic: common four-letter English words, each with one short definition.

Words come from the SCOWL "american-english" list (Debian package wamerican), definitions from
the GNU Collaborative International Dictionary of English (Debian package dict-gcide). Only this
script needs those packages; the generated file is committed, so the build does not.

Usage: data/make_wordlist.py [--words FILE] [--gcide DIR] [--out FILE] [--report]
"""

import argparse
import gzip
import re
import sys
import unicodedata

RECORD_WORD = 6
RECORD_DEFINITION = 240
MAX_WORDS = 4000

# Words never to offer players: slurs, obscenities and crude slang, and list entries that are
# fragments or chat spellings rather than words.
BLOCKLIST = {
    "arse", "boob", "butt", "coon", "cums", "cunt", "dago", "dick", "dyke", "fags", "fart",
    "fuck", "gook", "gyps", "homo", "jism", "jizz", "kike", "milf", "nazi", "nigs", "paki",
    "piss", "pimp", "poof", "porn", "puke", "shat", "shit", "slut", "spic", "tits", "turd",
    "twat", "wank", "whor", "wops", "crap", "barf", "hoes", "scag", "toke", "pees", "peed",
    "wuss", "mkay", "pwns", "yous", "yups", "yeps", "emos", "gonk", "hing", "rehi", "dded",
    "boga", "fums", "bani", "grue", "clix", "tost", "lept", "weer", "ttys", "ftps", "mads",
    "situ", "nite", "thru", "hims", "shes", "whys", "hows", "buts", "ares", "noes", "offs",
    "rape", "gays", "incs", "soli",
}

# Sense labels that mark a use a player would not recognise.
UNWANTED_LABELS = ("obs", "r.", "archaic", "prov", "scot", "dial", "local", "poetic", "slang",
                   "cant", "vulgar", "low", "eng.", "provincial", "rare")

# Common words the old dictionary lacks, or whose first sense there is one nobody uses now,
# defined here in our own words.
OWN_DEFINITIONS = {
    "coin": "A flat round piece of metal issued by a government as money.",
    "cute": "Pretty or charming in a sweet, appealing way.",
    "fame": "The state of being widely known and talked about; renown.",
    "team": "A group of people who work or play together, as in a game or sport.",
    "kind": "Friendly, generous and considerate; also, a sort or type of thing.",
    "list": "A number of names, words or items written one after another.",
    "mine": "A pit or tunnel dug in the earth from which coal, metals or stones are taken.",
    "race": "A contest of speed, as in running, riding or sailing.",
    "slot": "A narrow opening into which something is fitted or dropped, such as a coin.",
    "term": "A word or phrase with a particular meaning; also, a fixed period of time.",
    "type": "A kind, class or sort; also, to write with a keyboard.",
    "with": "In the company of; together with; having or using.",
    "lint": "Small fluffy bits of fibre that come off cloth.",
    "heck": "A mild word used to show annoyance or surprise.",
    "jack": "A device for lifting a heavy weight, such as a car, a short distance.",
    "lode": "A vein of metal ore in rock.",
    "park": "A public area of grass and trees in a town, set aside for people to enjoy.",
    "tout": "To praise or advertise something eagerly, trying to win customers or support.",
    "shim": "A thin strip of material used to fill a small gap or to level something.",
    "sump": "A pit or low place where water, oil or other liquid collects.",
    "tilt": "To lean or cause to lean to one side; to slope.",
    "poll": "The counting of votes at an election, or a survey of people's opinions.",
    "lady": "A woman, especially a polite or well-mannered one.",
    "tell": "To give an account of something in words; to inform or narrate.",
    "pall": "A dark cloth spread over a coffin; hence, a gloomy covering, as of smoke.",
    "pica": "A size of type for printing and typewriters, about six lines to the inch.",
    "blog": "A web site on which a person or group writes regular entries, newest first.",
    "byte": "A unit of computer memory or data made of eight bits.",
    "demo": "A short showing of how a product works, or a sample recording of music.",
    "euro": "The common currency of many countries of the European Union.",
    "info": "Information.",
    "jeep": "A small, sturdy motor vehicle built to drive over rough ground.",
    "logo": "A small picture or design that a company or group uses as its mark.",
    "memo": "A short written note or message, especially one sent within an office.",
    "nerd": "A person who is very keen on a technical or studious subject.",
    "smog": "A haze of smoke and fog or of other air pollution over a town.",
    "spam": "Unwanted messages sent in great numbers, especially by e-mail.",
    "sumo": "A Japanese style of wrestling between two very heavy men.",
    "sync": "To make two things happen or run at the same time; synchronize.",
    "taco": "A folded or rolled tortilla filled with meat, cheese or beans.",
    "tofu": "A soft food like cheese, made from curdled soya milk.",
    "wiki": "A web site whose pages its readers can edit together.",
    "yeti": "A large hairy creature that is said to live in the Himalayas.",
    "zoom": "To move or go very fast, often with a humming sound.",
    "dunk": "To dip food into a drink or other liquid before eating it.",
    "deli": "A shop that sells cooked meats, cheeses and ready-made dishes.",
    "mini": "Something small of its kind, such as a very short skirt.",
    "gyro": "A gyroscope; also, a Greek sandwich of roasted meat in pita bread.",
    "tech": "Technology, or a person skilled in a technical field.",
    "expo": "A large public exhibition or show.",
    "keto": "A diet very low in carbohydrates and high in fat.",
    "vape": "To breathe in the vapour of an electronic cigarette.",
    "vibe": "The feeling or mood that a person or place gives off.",
    "luau": "A Hawaiian feast, usually with music and dancing.",
    "tutu": "A short, stiff skirt of many layers worn by ballet dancers.",
    "goon": "A man hired to hurt or frighten people; a thug.",
    "kook": "A person whose ideas or behaviour are strange or foolish.",
    "oink": "The short grunting sound a pig makes.",
    "nuke": "A nuclear weapon; also, to heat food in a microwave oven.",
    "lube": "A lubricant, such as oil or grease; also, to oil or grease.",
    "mayo": "Mayonnaise, a thick creamy sauce of egg yolks and oil.",
    "perm": "A treatment that gives straight hair lasting waves or curls.",
    "prom": "A formal dance held for the students of a school or college.",
    "scam": "A dishonest scheme to cheat people out of money.",
    "zing": "Liveliness or energy; also, a short high whistling sound.",
    "wimp": "A weak or timid person.",
    "slob": "A lazy, untidy person.",
    "snit": "A state of sulky bad temper over something small.",
    "iffy": "Doubtful or uncertain.",
    "twee": "Too sweet, dainty or quaint.",
    "meme": "An idea, joke or picture that spreads from person to person.",
    "koan": "A puzzling question or story used in Zen to make one think.",
    "riff": "A short phrase of music repeated many times.",
    "flan": "An open tart, or a sweet baked custard with caramel.",
    "feta": "A white, crumbly cheese made from the milk of sheep or goats.",
    "ecru": "A pale greyish yellow colour like that of raw linen.",
    "hula": "A Hawaiian dance in which swaying hips and hands tell a story.",
    "gosh": "A mild word used to show surprise.",
    "oops": "A word said when one makes a small mistake.",
    "psst": "A sound made to catch someone's attention quietly.",
    "yeah": "Yes.",
    "jeez": "A word used to show surprise or annoyance.",
    "chug": "To drink something in big gulps, or to move with a dull knocking sound.",
    "glop": "A soft, sticky, shapeless mess, such as thick food.",
    "goop": "A sticky or slimy substance.",
    "gorp": "A snack mix of nuts, raisins and other dried foods.",
    "wack": "Bad, silly or of poor quality.",
    "yock": "A loud laugh.",
    "razz": "To tease or make fun of someone.",
    "redo": "To do something again or in a new way.",
    "semi": "A large truck made of a tractor and a trailer; also, a semifinal.",
    "prep": "Preparation, such as homework or getting food ready.",
    "prof": "A professor.",
    "stat": "A statistic; also, at once, immediately.",
    "temp": "A worker hired for a short time; also, temperature.",
    "grok": "To understand something fully and deeply.",
    "grep": "To search text for lines that match a pattern.",
    "sexy": "Attractive in a way that arouses desire.",
    "josh": "To tease someone in a friendly way.",
    "auto": "An automobile; a car.",
    "axed": "Past tense of axe: to cut with an axe; also, to dismiss or cancel.",
    "solo": "A piece of music, a song or a dance performed by one person alone.",
    "crux": "The central or most important point of a problem or question.",
    "lied": "Past tense of lie: to say something that one knows is not true.",
}


def decode_number(text):
    """The dictd index writes offsets and lengths in base 64 with this alphabet."""
    alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
    value = 0
    for ch in text:
        value = value * 64 + alphabet.index(ch)
    return value


def load_gcide(folder):
    index = {}
    with open(folder + "/gcide.index", encoding="latin-1") as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) != 3:
                continue
            place = (decode_number(parts[1]), decode_number(parts[2]))
            entries = index.setdefault(parts[0].lower(), [])
            if place not in entries:
                entries.append(place)
    with gzip.open(folder + "/gcide.dict.dz") as f:
        data = f.read()
    return index, data


def to_ascii(text):
    # gcide spells special letters as [=e], [^o], [*a], ... ; keep just the letter.
    text = re.sub(r"\[[=^*~\"'`.,]?([A-Za-z]{1,2})[=^*~\"'`.,]?\]", r"\1", text)
    text = unicodedata.normalize("NFKD", text)
    text = text.replace("\x92", "'").replace("\u2019", "'").replace("\u2018", "'")
    return "".join(ch for ch in text if 32 <= ord(ch) < 127)


def strip_brackets(text):
    """Removes balanced [...] groups; returns the rest and the groups' contents."""
    out, groups, depth, current = [], [], 0, []
    for ch in text:
        if ch == "[":
            if depth > 0:
                current.append(ch)
            depth += 1
        elif ch == "]" and depth > 0:
            depth -= 1
            if depth == 0:
                groups.append("".join(current))
                current = []
            else:
                current.append(ch)
        elif depth > 0:
            current.append(ch)
        else:
            out.append(ch)
    return "".join(out), groups


def has_unwanted_label(groups):
    for g in groups:
        g = g.strip().lower()
        if len(g) > 30:
            continue
        if any(g.startswith(label) or " " + label in g for label in UNWANTED_LABELS):
            return True
    return False


# Word-class marks at the start of a header: "n.", "v. t.", "a.", "adv.", "n" before "[".
POS_PATTERN = re.compile(
    r"^(?:(?:n|v|a|adj|adv|prep|conj|interj|pron|pl|sing|t|i|vb|superl|compar|fem|masc)"
    r"(?:\.|\b(?=\s*(?:\[|$)))(?!\s*of\s)\s*|&\s*|,\s*)+")

INFLECTION_NAMES = [
    (r"imp\. & p\. p\.", "Past tense and past participle"),
    (r"p\. p\. & imp\.", "Past tense and past participle"),
    (r"imp\.", "Past tense"),
    (r"p\. p\.", "Past participle"),
    (r"p\. pr\.", "Present participle"),
    (r"3d pers\. sing\. pres\.", "Third person singular present"),
    (r"pl\.", "Plural"),
]

# Sentences should be short enough to read at a glance in the game-over window.
SHORT = 160


class Entry:
    def __init__(self, headwords, pos, header_rest, header_labels, senses):
        self.headwords = headwords
        self.pos = pos
        self.header_rest = header_rest
        self.header_labels = header_labels
        self.senses = senses  # list of (text, labels)


def parse_entry(raw):
    lines = []
    for line in raw.split("\n"):
        indent = len(line) - len(line.lstrip(" "))
        if indent >= 12 and line.strip():
            continue  # quotations and their sources
        if re.fullmatch(r"\s*\[[^\]]*(Webster|WordNet|PJC|Suppl|Century|Dict)[^\]]*\]\s*", line):
            continue
        lines.append(line)
    first = lines[0]
    m = re.match(r"^((?:[^\\\n]+?\\[^\\]*\\,?\s*(?:\([^)]*\),?\s*)?)+)", first)
    heads_part = m.group(1) if m else ""
    headwords = [h.strip().strip(",").lower() for h in re.findall(r"([^\\,]+?)\s*\\[^\\]*\\", heads_part)]
    body = [first[len(heads_part):]] + lines[1:]

    header, senses, current = [], [], None
    in_header = True
    for line in body:
        sm = re.match(r"^ {0,4}(\d+)\.\s+(.*)$", line)
        # Only the next sense number opens a sense; "280." in an etymology does not.
        expected = len(senses) + (1 if current is not None else 0) + 1
        if sm and int(sm.group(1)) == expected:
            if current is not None:
                senses.append(current)
            current = [sm.group(2)]
            in_header = False
        elif not line.strip():
            if current is not None:
                senses.append(current)
                current = None
            if in_header and header:
                in_header = False
        elif current is not None:
            current.append(line.strip())
        elif in_header:
            header.append(line.strip())
    if current is not None:
        senses.append(current)

    header_text = " ".join(header)
    pm = POS_PATTERN.match(header_text)
    pos = pm.group(0).strip() if pm else ""
    rest, groups = strip_brackets(header_text[len(pm.group(0)) if pm else 0:])
    parsed_senses = []
    for s in senses:
        text, sense_groups = strip_brackets(" ".join(s))
        parsed_senses.append((text, sense_groups))
    return Entry(headwords, pos, rest.strip(), groups, parsed_senses)


def clean_definition(text):
    text = re.sub(r"\{([^{}]*)\}", r"\1", text)
    text = re.sub(r"\s+", " ", text).strip(" ;,.")
    text = re.sub(r'\s*"[^"]*"\s*--.*$', "", text)  # a quotation with its source
    text = re.sub(r'(?:\s*"[^"]*"[.]?)+$', "", text)  # quoted examples at the end
    text = re.sub(r"\s--\s?[A-Z].*$", "", text)  # a trailing source
    text = re.sub(r"^\d+\.?\s+", "", text)  # sense numbers left inside a sense
    text = re.sub(r"^(?:n|v|adj|adv)\.\s+", "", text, flags=re.IGNORECASE)
    # Plural and case forms written before the sense: "Pl. Dodoes.", "Poss. Theirs; obj. Them."
    lead = re.match(r"^(?:It\.\s+)?(?:Pl|Poss|Obj)\.(?!\s+of\b).*?[.)]\s+(?=\(|(?:A|An|The|One|Any)\s)", text,
                    re.IGNORECASE)
    if lead:
        text = text[lead.end():]
    text = re.sub(r"^(?:(?:Pl|Poss|Obj)\.\s+(?!of\b)[^.;]*[.;]\s*)+", "", text, flags=re.IGNORECASE)
    text = re.sub(r'\s*\([^()]*"[^()]*\)', "", text)  # pronunciations
    text = re.sub(r"^\s*\([^()]{1,40}\.\)\s*", "", text)  # field labels like (Law.) or (Bot.)
    text = re.sub(r"^\s*\([A-Z][^()]{1,40}\)\s+", "", text)
    text = re.sub(r"^\s*\((?:[A-Z][A-Za-z.]*\s*&?\s*)+\)\s*", "", text)
    if text.startswith("(a)"):  # lettered sub-senses: keep the first
        text = re.split(r"\s\(b\)\s", text[3:])[0]
    text = re.sub(r"^\s*\((?:[A-Z][A-Za-z.]*\s*&?\s*)+\)\s*", "", text)
    text = re.split(r";\s+as,|;\s*--\s|\.\)?\s+See\s|;\s+e\.\s*g\.|:\s*\(a\)", text)[0]
    text = re.sub(r"\s*\([^)]*$", "", text)  # a parenthesis left open by the cut
    text = re.sub(r"\s+([,.;:])", r"\1", text)
    text = re.sub(r"\s+", " ", text).strip(" ;,:-")
    text = re.sub(r"[;,:]?\s*\b(especially|specifically|esp|as|viz|namely|hence)\.?$", "", text)
    text = text.strip(" ;,:-")
    text = to_ascii(text)
    if not text:
        return ""
    text = text[0].upper() + text[1:]
    if not text.endswith((".", "!", "?")):
        text += "."
    return shorten(text)


def shorten(text):
    """Keeps the first sentence, and of a long list of synonyms only the first few."""
    for m in re.finditer(r"[a-z)]\.\s+[A-Z]", text):
        head = text[: m.start() + 2]
        if m.start() >= 20 and head.count("(") == head.count(")"):
            text = head
            break
    if len(text) > SHORT:
        cut = text[:SHORT].rfind("; ")
        if cut >= 40:
            text = text[:cut] + "."
    return text


def fit(text, width=RECORD_DEFINITION):
    """Cuts a definition that is still too long after a whole phrase, else after a whole word."""
    if len(text) <= width:
        return text
    head = text[:width]
    for mark in (". ", "; ", ", "):
        cut = head.rfind(mark)
        if cut >= width // 3:
            return head[:cut] + "."
    cut = head[: width - 3].rfind(" ")
    return head[:cut].rstrip(" ,;:") + "..."


def usable(text):
    low = text.lower()
    if len(text) < 4 or not re.search(r"[a-z]{3}", low) or re.fullmatch(r"[\w\s.]*\bpron\.?", low):
        return False
    if low.startswith(("abbr", "an abbreviation", "see ", "rare ", "archaic ", "formerly", "hence",
                       "same as", "variant of", "alt.", "cf.", "obs")):
        return False
    return "abbreviation" not in low[:40] and not re.search(r"\bobs\b", low)


def entry_definition(entry):
    """First plain sense of an entry, or ''."""
    if has_unwanted_label(entry.header_labels) or "abbr" in entry.pos:
        return ""
    candidates = entry.senses or [(entry.header_rest, [])]
    for text, labels in candidates:
        field = re.match(r"^\s*\(([^()]{1,40})\)", text)
        if has_unwanted_label(labels + ([field.group(1)] if field else [])):
            continue
        cleaned = clean_definition(text)
        if usable(cleaned):
            return cleaned
    return ""


def form_reference(text):
    """A definition such as "Imp. & p. p. of Hold." as (form name, base word)."""
    for pattern, name in INFLECTION_NAMES:
        m = re.match(r"^" + pattern + r"\s+of\s+([A-Za-z]+)\b", text, re.IGNORECASE)
        if m:
            return name, m.group(1).lower()
    return None


def inflection_of(word, entry):
    """For an entry of another headword that lists `word` as a form: (form name, base)."""
    header = " ".join(g for g in entry.header_labels)
    m = re.search(r"([a-z0-9. &]+?)\s*\{" + re.escape(word) + r"\}", header, re.IGNORECASE)
    if not m or not entry.headwords:
        return None
    label = m.group(1).strip()
    for pattern, name in INFLECTION_NAMES:
        if re.search(pattern + r"\s*$", label):
            return name, entry.headwords[0]
    return None


def lower_first(text):
    if len(text) > 1 and text[0].isupper() and not text[1].isupper():
        return text[0].lower() + text[1:]
    return text


def is_verb(entry):
    return entry.pos.startswith("v")


def is_noun(entry):
    return entry.pos.startswith("n")


class Definer:
    def __init__(self, index, data):
        self.index, self.data = index, data

    def all_entries(self, word):
        for offset, length in self.index.get(word, []):
            yield parse_entry(self.data[offset : offset + length].decode("latin-1")), length

    def own_entries(self, word):
        """The word's own entries, longest first: the main sense of a common word has the
        longest article, while rare homographs have short ones."""
        found = [(e, n) for e, n in self.all_entries(word) if word in e.headwords]
        found.sort(key=lambda pair: -pair[1])
        return [e for e, _ in found]

    def plain(self, word, only=None):
        for entry in self.own_entries(word):
            if only and not only(entry):
                continue
            definition = entry_definition(entry)
            if definition and not form_reference(definition):
                return definition
        return ""

    def form_definition(self, name, base):
        # A plural is explained by a noun sense, any other form by a verb sense.
        base_definition = self.plain(base, is_noun if name == "Plural" else is_verb)
        return f"{name} of {base}: {lower_first(base_definition)}" if base_definition else ""

    def define(self, word):
        for entry in self.own_entries(word):
            definition = entry_definition(entry)
            form = form_reference(definition) if definition else None
            if form:
                return self.form_definition(*form)
            if definition:
                return definition
        # Forms such as "held" are indexed under the entry of their base word.
        for entry, _ in self.all_entries(word):
            form = inflection_of(word, entry)
            if form:
                definition = self.form_definition(*form)
                if definition:
                    return definition
        return ""


def regular_form(word, definer, known):
    """Plurals and verb forms that the dictionary does not list: acts, aced, ..."""
    guesses = []
    if word.endswith("s"):
        guesses += [(word[:-1], "Plural"), (word[:-1], "Third person singular present")]
    if word.endswith("es"):
        guesses += [(word[:-2], "Plural"), (word[:-2], "Third person singular present")]
    if word.endswith("ed"):
        guesses += [(word[:-2], "Past tense")]
    if word.endswith("d"):
        guesses += [(word[:-1], "Past tense")]
    for base, name in guesses:
        if len(base) < 2 or base not in known:
            continue
        entries = definer.own_entries(base)
        wanted = is_noun if name == "Plural" else is_verb
        if entries and wanted(entries[0]):
            definition = definer.form_definition(name, base)
            if definition:
                return definition
    # The base word's main (longest) entry decides between a plural and a verb form above;
    # failing that, any sense of the right kind will do.
    for base, name in guesses:
        if len(base) >= 2 and base in known:
            definition = definer.form_definition(name, base)
            if definition:
                return definition
    return ""


def looks_like_name(text):
    # Proper nouns: books, peoples, gods and places rather than things of everyday English.
    starts = re.match(r"^(One of the books|The Roman god|The Greek god|A native of|"
                      r"A city|The capital|A country|A river)", text, re.IGNORECASE)
    return bool(starts or re.search(r"books of the (Old|New) Testament", text))


def is_roman_numeral(word):
    return re.fullmatch(r"m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})", word) is not None


def build(words_path, gcide_folder):
    index, data = load_gcide(gcide_folder)
    definer = Definer(index, data)
    with open(words_path, encoding="utf-8", errors="replace") as f:
        all_words = {w.strip() for w in f}
    known = {w for w in all_words if re.fullmatch(r"[a-z]+", w)}
    chosen = sorted(w for w in known if len(w) == 4)
    records = []
    for word in chosen:
        if word in BLOCKLIST or is_roman_numeral(word):
            continue
        if word.capitalize() in all_words and word not in index:
            continue
        definition = OWN_DEFINITIONS.get(word, "")
        if not definition:
            definition = definer.define(word)
            if not definition or looks_like_name(definition):
                definition = regular_form(word, definer, known) or definition
        if not definition or looks_like_name(definition):
            continue
        records.append((word, fit(definition)))
    return records[:MAX_WORDS]


def encode(records):
    out = bytearray()
    for word, definition in records:
        assert re.fullmatch(r"[a-z]{4}", word), word
        body = definition.encode("ascii")
        assert 0 < len(body) <= RECORD_DEFINITION, word
        out += word.encode("ascii").ljust(RECORD_WORD, b" ") + body.ljust(RECORD_DEFINITION, b" ")
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--words", default="/usr/share/dict/american-english")
    parser.add_argument("--gcide", default="/usr/share/dictd")
    parser.add_argument("--out", default="data/wordlist.dic")
    parser.add_argument("--report", action="store_true", help="print each word and definition")
    args = parser.parse_args()
    records = build(args.words, args.gcide)
    with open(args.out, "wb") as f:
        f.write(encode(records))
    if args.report:
        for word, definition in records:
            print(f"{word}  {definition}")
    print(f"{len(records)} words written to {args.out}", file=sys.stderr)


if __name__ == "__main__":
    main()
