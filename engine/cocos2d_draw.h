// Umbrella of the engine's draw headers.
#pragma once
