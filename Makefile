# The two set-up commands of the README; each installs what it needs on a fresh Debian machine.
.PHONY: run test bench

run:
	@scripts/run.sh

test:
	@scripts/test.sh

bench:
	@scripts/bench.sh
