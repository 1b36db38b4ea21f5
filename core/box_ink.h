// The two colours of the speed search's box: each gateway maps them to its
// host's palette.
#pragma once

enum class Ink { kFrame, kField };
