// DVersion: the package's version numbers, as its version resource carries them.
#pragma once

#define WTARN_FILE_VERSION 1, 0, 1, 1
#define WTARN_FILE_VERSION_TEXT "1.0.1.1"
#define WTARN_PRODUCT_VERSION 1, 0, 0, 0
#define WTARN_PRODUCT_VERSION_TEXT "1.0.0.0"
