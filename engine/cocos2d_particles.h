// Umbrella of the engine's particles headers.
#pragma once
