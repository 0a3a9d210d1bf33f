#pragma once
// Resource identifiers shared by the resource script and the code.
#define VELMO_BANNER_PNG 101
