#pragma once

#define IDS_VERSION_TEXT 1
