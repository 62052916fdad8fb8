// Helpers for the tests that run under Wine: private folders and whole-file reads and writes.
#pragma once

#include "tests/support/files.h"
