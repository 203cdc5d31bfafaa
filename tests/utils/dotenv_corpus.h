#pragma once

#include <QByteArray>
#include <utility>
#include <vector>

// Environment files that are hard to read right, each with its name. Kept out of the
// test source because moc's own parser stumbles over raw string literals.
inline std::vector<std::pair<const char*, QByteArray>> dotenv_corpus() {
    return {
        {"quotes and escapes", R"(SINGLE='literal $HOME \n \t ${DOTENV_TEST_HOME}'
DOUBLE="tab\tnewline\nquote\" backslash\\ bell\a vt\v ff\f bs\b cr\r unknown\q \$"
ESCAPED_SINGLE='it\'s \\ done \n'
NESTED_QUOTES="a 'b' c"
NESTED_DQ='say "hi"'
QUOTED_HASH="value # not a comment"
SQ_HASH='x#y' # trailing comment
DQ_TIGHT_COMMENT="v"#comment
'QUOTED KEY'=1
'=odd key'=2
"DQKEY"=3
EMPTY_DQ=""
EMPTY_SQ=''
)"},
        {"escaped quote runs on", R"(A="ends in a backslash\\"
B=2
C="closes here"
D=4
E='x\'
F=6)"},
        {"comments and blanks",
         "# comment\n"
         "   # indented comment\n"
         "A=1 # comment\n"
         "B=2#not a comment\n"
         "C= #hash after blanks\n"
         "D=  spaced value   \n"
         "E=\n"
         "F\n"
         "G = blanks around equals\n"
         "H=tab\t# tab before hash\n"
         "export I=exported\n"
         "export  J='two blanks'\n"
         "exportK=1\n"
         "export=5\n"
         "export\n"
         "\n\n"
         "L=last line without newline"},
        {"multi-line values",
         "M=\"line1\nline2\n  line3\"\n"
         "N='single\nmulti'\n"
         "O=\"\n\"\n"
         "P=\"a\\\nb\"\n"
         "AFTER=ok\n"},
        {"expansion", R"(BASE=/opt
BIN=${BASE}/bin
PATHLIKE="${BIN}:${DOTENV_TEST_HOME}/bin"
SINGLE='${BASE} in single quotes'
DEF=${DOTENV_TEST_MISSING:-fallback}
DEF_SET=${BASE:-unused}
DEF_EMPTY_ENV=${DOTENV_TEST_EMPTY:-unused}
NESTED=${DOTENV_TEST_MISSING:-${BASE}}
BARE_DOLLAR=$BASE and ${} and ${:-d}
COLON=${BASE:x} ${BASE:-}
SELF=${SELF}x
FORWARD=${LATER}
LATER=later
KEYONLY
FROM_KEYONLY=${KEYONLY:-default}
SHADOW=${DOTENV_TEST_SHADOWED}
DOTENV_TEST_SHADOWED=from file
SHADOWED_AFTER=${DOTENV_TEST_SHADOWED}
BASE=/usr
AFTER_REDEF=${BASE}
MULTI="${BASE}
${BIN}"
)"},
        {"CRLF and CR line ends",
         "A=1\r\nB=\"multi\r\nline\"\r\nC='x' # c\r\nD=trailing   \r\nE\r\n\r\nF=lone\rG=cr\r\n"},
        {"unicode",
         "GR\xc3\x9c"
         "SSE=Gr\xc3\xbc\xc3\x9f"
         "e\n"
         "EMOJI=\"\xf0\x9f\x8c\x8d map\"\n"
         "CJK='\xe5\x9c\xb0\xe9\x9c\x87'\n"
         "NBSP=a\xc2\xa0# no-break space before hash\n"
         "EM_SPACE=value\xe2\x80\x83\n"
         "IDEO\xe3\x80\x80=ideographic space before equals\n"
         "UNIT_SEPARATOR=a\x1f#b\n"
         "ZERO_WIDTH=\xe2\x80\x8bx\n"
         "ESCAPE_U=\"\\u00e9 \\N{DASH}\"\n"},
        {"blank values",
         "EMPTY=\n"
         "SPACES=    \n"
         "ONLY_COMMENT= # c\n"
         "EMPTY_DQ=\"\"\n"
         "EMPTY_SQ=''\n"
         "DUP=1\n"
         "OTHER=x\n"
         "DUP=2\n"},
        {"malformed lines", R"(GOOD1=1
=novalue
A="closed" trailing junk
B 2
export 
C='x' 'y'
D=ok
E="unterminated
GOOD2=2
#only a comment
'unterminated=1
)"},
        {"empty file", ""},
        {"only blanks", "\n \t\n\r\n"}};
}
