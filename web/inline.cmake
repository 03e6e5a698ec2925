# Writes the page with its style sheet and script inside it, so that the
# browser asks for nothing before it starts but the WebAssembly, which the page
# asks for at once, the version, and the report's title, which the page shows
# also when the program cannot:
# cmake -DPAGE= -DSTYLE= -DSCRIPT= -DVERSION= -DWORDING= -DOUT= -P inline.cmake
file(READ ${PAGE} page)
file(READ ${STYLE} style)
file(READ ${SCRIPT} script)
string(REPLACE "<link rel=\"stylesheet\" href=\"tarvik.css\">" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<script src=\"tarvik.js\"></script>" "<script>${script}</script>" page "${page}")
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" page "${page}")
file(STRINGS ${WORDING} title REGEX "ReportTitle = \"" ENCODING UTF-8)
string(REGEX REPLACE ".*ReportTitle = \"([^\"]*)\".*" "\\1" title "${title}")
string(REPLACE "@REPORT_TITLE@" "${title}" page "${page}")
file(WRITE ${OUT} "${page}")
