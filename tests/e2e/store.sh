# Reading the player's store in the script tests. FILE is either the player's UserDefault.xml or
# what `kxsim --dump-store` prints (KEY=VALUE lines among the trace lines); both read alike.
#
#   store_value FILE KEY    the stored value (XML entities undone); nothing when the key is absent
#   store_global FILE       the global score record as "DISTANCE_BEST DISTANCE_TOTAL POINTS_BEST
#                           POINTS_TOTAL COINS_BEST COINS_TOTAL" (checkpoint copies left out)
#   store_coins FILE        the global record's total coins
#
# Sourced by lib.sh (window tests) and kxsim_lib.sh (headless tests).

store_value() {
    [ -f "$1" ] || return 0
    if grep -q '<userDefaultRoot' "$1"; then
        # One <entry key="..." value="..."/> per key; the key is matched as plain text.
        awk -v key="$2" '{
            rest = $0
            while ((at = index(rest, "<entry ")) > 0) {
                rest = substr(rest, at + 7)
                if (index(rest, "key=\"" key "\"") != 1) continue
                rest = substr(rest, length(key) + 7)
                if (match(rest, /^[ \t]*value="[^"]*"/)) {
                    text = substr(rest, RSTART, RLENGTH)
                    sub(/^[ \t]*value="/, "", text)
                    print substr(text, 1, length(text) - 1)
                }
                exit
            }
        }' "$1" | sed 's/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&apos;/'"'"'/g; s/&amp;/\&/g'
    else
        awk -v key="$2" 'index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }' "$1"
    fi
}

# The score table: records "NAME:FIGURES" apart by ";"; FIGURES holds three groups (distance,
# points, coins), each "BEST TOTAL" then 0, or 1 and three checkpoint values.
store_global() {
    store_value "$1" KXP_Scores | tr ';' '\n' | sed -n 's/^<kxp_score_global>://p' | head -n 1 |
        awk '{
            field = 1
            out = ""
            for (group = 0; group < 3; group++) {
                out = out (group ? " " : "") ($(field) == "" ? 0 : $(field)) " " ($(field + 1) == "" ? 0 : $(field + 1))
                field += $(field + 2) == 1 ? 6 : 3
            }
            print out
        }'
}

store_coins() {
    local figures
    figures=$(store_global "$1")
    [ -n "$figures" ] && echo "$figures" | awk '{ print $6 }'
}
