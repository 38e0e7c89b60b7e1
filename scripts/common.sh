# Shared by the scripts: the project root and a dependency check.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ensure_deps() {
  "$root/scripts/install-deps"
}
# QUILLORA_JOBS caps parallel compiles and tests (several builds on one machine).
njobs() {
  echo "${QUILLORA_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}
