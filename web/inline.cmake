# Writes the page with its style sheet and script inside it, so that the
# browser asks for nothing before it starts but the WebAssembly, which the page
# asks for at once; and the version and the program's words it shows before the
# program runs (page_wording's output):
# cmake -DPAGE= -DSTYLE= -DSCRIPT= -DVERSION= -DWORDING= -DOUT= -P inline.cmake
file(READ ${PAGE} page)
file(READ ${STYLE} style)
file(READ ${SCRIPT} script)
string(REPLACE "<link rel=\"stylesheet\" href=\"tarvik.css\">" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<script src=\"tarvik.js\"></script>" "<script>${script}</script>" page "${page}")
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" page "${page}")
include(${WORDING})
foreach(name CREDITS_CAPTION CREDITS_TEXT REPORT_TITLE)
    string(REPLACE "@${name}@" "${${name}}" page "${page}")
endforeach()
file(WRITE ${OUT} "${page}")
