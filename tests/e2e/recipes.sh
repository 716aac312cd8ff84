# Scenario run recipes: each file tests/e2e/scenarios/<name>.args or <name>.<n>.args is one kxsim
# run of that scenario game, one kxsim option and its value per line ("--frames 1800",
# "--key 90:down:Right"); lines starting with "#" and empty lines are skipped. Source this, then
#   recipe_files SOURCE_DIR NAME   lists the scenario's recipe files, in order (none: prints nothing)
#   read_recipe FILE               fills the array `recipe` with the run's kxsim arguments
# The game folder is the caller's to give.
recipe_files() {
    local dir="$1/tests/e2e/scenarios" file
    for file in "$dir/$2.args" "$dir/$2".*.args; do
        # Only NAME.args and NAME.<n>.args: "a.args" must not take "a-b.1.args" or "a.b.args".
        case "${file#"$dir/$2"}" in
        .args | .[0-9].args | .[0-9][0-9].args) [ -f "$file" ] && echo "$file" ;;
        esac
    done | sort -V
}

read_recipe() {
    recipe=()
    local line option value
    while IFS= read -r line || [ -n "$line" ]; do
        [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
        read -r option value <<<"$line"
        recipe+=("$option")
        [ -z "$value" ] || recipe+=("$value")
    done <"$1"
}
