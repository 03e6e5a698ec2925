# Writes the page with its style sheet and script inside it, so that the
# browser asks for nothing before it starts but the WebAssembly, which the page
# asks for at once, and the version in it:
# cmake -DPAGE= -DSTYLE= -DSCRIPT= -DVERSION= -DOUT= -P inline.cmake
file(READ ${PAGE} page)
file(READ ${STYLE} style)
file(READ ${SCRIPT} script)
string(REPLACE "<link rel=\"stylesheet\" href=\"tarvik.css\">" "<style>\n${style}</style>" page "${page}")
string(REPLACE "<script src=\"tarvik.js\"></script>" "<script>${script}</script>" page "${page}")
string(REPLACE "@PROJECT_VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUT} "${page}")
