# Shared by the benchmark scripts: where the build and the generated files
# are. Sourced with the build folder as $1.
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
build=${1:-$here/../build}
data=$here/data
cli=$build/src/cli/kinmap-cli
generate=$build/bench/kinmap-generate
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }
[ -x "$cli" ] && [ -x "$generate" ] || { echo "build kinmap-cli and kinmap-generate first ($build)" >&2; exit 1; }
mkdir -p "$data"

# The generated file of a size and encoding, made again when the generator
# is newer.
generated() {
  local file=$data/p$1-$2.ged
  [ "$file" -nt "$generate" ] || "$generate" "$1" "$2" "$file"
  echo "$file"
}
