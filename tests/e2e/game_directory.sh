# Sourced by the scripts that run the real game program.

# Makes WORK the directory the game runs in, so that what it writes stays
# there: links to the data files of RUN_DIR, configuration and cache
# directories of its own and audio that goes nowhere; then enters it.
# Usage: enter_game_directory RUN_DIR WORK
enter_game_directory() {
    local file
    for file in "$1"/*.ONE "$1"/*.MDS; do
        ln -s "$file" "$2/"
    done
    mkdir "$2/config" "$2/cache"
    export XDG_CONFIG_HOME="$2/config"
    export XDG_CACHE_HOME="$2/cache"
    export SDL_AUDIODRIVER=dummy
    cd "$2" || exit 1
}
