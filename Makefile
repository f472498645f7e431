# The set-up commands of the README; each installs what it needs on a fresh Debian machine.
.PHONY: run gallery test bench coverage fuzz format format-check

# The scripts run CMake's own make; without this it would announce every folder it enters.
MAKEFLAGS += --no-print-directory

run:
	@scripts/run.sh

gallery:
	@scripts/gallery.sh

test:
	@scripts/test.sh

bench:
	@scripts/bench.sh

coverage:
	@scripts/coverage.sh

fuzz:
	@scripts/fuzz.sh

format:
	@scripts/format.sh apply

format-check:
	@scripts/format.sh check

.PHONY: soak
soak:
	@scripts/soak.sh
