# Shared by the scripts: the project root and a dependency check.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ensure_deps() {
  "$root/scripts/install-deps"
}
njobs() {
  nproc 2>/dev/null || echo 2
}
