// The client's own version; the game center must not be older than this.
#pragma once

#define TGC_CLIENT_VERSION_COMMA 26, 0, 2, 1046
#define TGC_CLIENT_VERSION_TEXT "26.0.2.1046"
