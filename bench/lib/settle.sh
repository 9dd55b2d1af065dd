# Sourced by benchmark scripts that write and then delete thousands of files.
#
# ext4 without a journal does not hand out an inode again within a minute of its deletion
# (longer while the inode table is not yet written back), and a file created meanwhile makes
# the allocator step past every such inode of its group: 2,000 new files took 1.0-1.4 s
# within 40 s of deleting 4,000 others, 0.47 s after 65 s and 0.31 s after 100 s.
# Under Wine that work happens inside the single wineserver process, where it delays every
# other thread's requests too (the sockets of the downloads in flight among them). A run that
# starts right after an earlier run deleted its 2,000 pages was measured 20 % slower for that
# reason alone, so back-to-back runs would measure the previous run's clean-up.
#
# bench_deleted_files marks such a deletion; bench_settle waits, if needed, until the inodes
# it freed are ordinary free inodes again, and says so.

bench_settle_stamp="${bench_settle_stamp:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/bench-deleted-files.stamp}"
bench_settle_seconds=70

bench_deleted_files() {
  mkdir -p "$(dirname "$bench_settle_stamp")"
  date +%s >"$bench_settle_stamp"
}

bench_settle() {
  [ -f "$bench_settle_stamp" ] || return 0
  local left
  left=$(($(cat "$bench_settle_stamp") + bench_settle_seconds - $(date +%s)))
  if [ "$left" -gt 0 ]; then
    echo "waiting ${left} s until the files deleted by the previous run no longer slow file creation" >&2
    sleep "$left"
  fi
}
