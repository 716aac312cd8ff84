#pragma once

// Paying with the coins the player has collected over all games (the global score record's
// total): the one way every shop button, lock and character unlock spends them.

// True for a price that coins can pay: a number, not negative. A damaged model's negative price
// would otherwise add coins.
bool isCoinPrice(float price);

// Takes the whole part of `price` from the global total when the total covers the price; the
// running game's figure is lowered to the new total when it is above it, and the coins figure
// is committed so that a restart from a checkpoint cannot give the coins back. False, with
// nothing changed, when the total is too small or the price is not a coin price.
bool payGlobalCoins(float price);
