// Umbrella of the engine's base headers.
#pragma once
