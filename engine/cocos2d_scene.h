// Umbrella of the engine's scene headers.
#pragma once
