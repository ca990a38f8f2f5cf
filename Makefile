# The two commands: `make run` and `make test`.  Everything else is a step
# of theirs.  Build trees live in build/ (host, host-san, fuzz, win).

PROGRAM ?= abelha
JOBS    ?= $(shell nproc)
B        = build
CMAKE    = cmake -G "Unix Makefiles" -Wno-dev
FUZZ_SECONDS ?= 60

.PHONY: all deps host host-san fuzz win test test-host test-san test-fuzz test-win bench run clean installer soak soak-smoke

all: host win

deps:
	@tools/deps.sh

$(B)/host/Makefile:
	$(CMAKE) -S . -B $(B)/host -DCMAKE_BUILD_TYPE=Release
$(B)/host-san/Makefile:
	$(CMAKE) -S . -B $(B)/host-san -DCMAKE_BUILD_TYPE=Debug -DTE_SANITIZE=ON -DTE_BENCH=OFF
$(B)/fuzz/Makefile:
	$(CMAKE) -S . -B $(B)/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTE_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
$(B)/win/Makefile:
	$(CMAKE) -S . -B $(B)/win -DCMAKE_BUILD_TYPE=Release -DTE_HOST_TOOLS_DIR=$(CURDIR)/$(B)/host/tools \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

host: deps $(B)/host/Makefile
	$(MAKE) -C $(B)/host -j$(JOBS) --no-print-directory
host-san: deps $(B)/host-san/Makefile
	$(MAKE) -C $(B)/host-san -j$(JOBS) --no-print-directory
fuzz: deps $(B)/fuzz/Makefile
	$(MAKE) -C $(B)/fuzz -j$(JOBS) --no-print-directory
win: host $(B)/win/Makefile
	$(MAKE) -C $(B)/win -j$(JOBS) --no-print-directory

test-host: host
	cd $(B)/host && ctest --output-on-failure
test-san: host-san
	cd $(B)/host-san && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure
test-fuzz: fuzz
	cd $(B)/fuzz && FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --output-on-failure
test-win: win
	tools/testenv.sh -- sh -c 'cd $(B)/win && ctest --output-on-failure'

# Every test of both trees; stops at the first failing group.
test: test-host test-san test-fuzz test-win bench-smoke soak-smoke
	@echo "make test: all test groups passed"

# Benchmarks: a short run inside `make test` keeps them working (the
# Windows ones, labelled bench, run short in test-win); `make bench` gives
# numbers worth reading, the Windows ones under the test environment.
bench-smoke: host
	@for b in $(B)/host/tests/*_bench; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.05 || exit 1; done
bench: host win
	@for b in $(B)/host/tests/*_bench; do [ -x "$$b" ] && "$$b" || exit 1; done
	TE_SCREEN=1920x1080x24 tools/testenv.sh -- sh -c 'cd $(B)/win && TE_BENCH_FULL=1 ctest -L bench --output-on-failure -V'

run: win
	tools/run.sh $(PROGRAM) $(B)/win out

# A clinic day in miniature: PROGRAM under Wine for SOAK_MINUTES, figures
# and any faults in out/soak/.  Its two-minute form runs inside `make test`.
SOAK_MINUTES ?= 30
soak_run = tools/testenv.sh -- sh -c 'cd $(B)/win && wine ./soak.exe $(1) $(2) "$$(winepath -w "$(CURDIR)/out/soak")"'
# Each program soaks in a Wine prefix of its own: two soaks side by side
# would otherwise share one Wine server, with one desktop and one
# foreground window for both, and whose end, when one soak finishes, would
# stop the other.
soak: win
	@mkdir -p out/soak
	WINEPREFIX=$(CURDIR)/$(B)/wineprefix-soak-$(PROGRAM) $(call soak_run,$(PROGRAM),$(SOAK_MINUTES))
# A smoke run that measured the machine rather than the program (code 3:
# too many phonations the harness could not play or hear cleanly, and no
# fault) is run once more; both results stand in the log.
soak-smoke: win
	@mkdir -p out/soak
	@$(call soak_run,abelha,2); rc=$$?; \
	if [ $$rc -eq 3 ]; then echo "soak-smoke: the machine, not the program, was measured; once more"; \
	  $(call soak_run,abelha,2); rc=$$?; fi; exit $$rc

clean:
	rm -rf $(B)/host $(B)/host-san $(B)/fuzz $(B)/win

# The setup program (built with the Windows tree) in out/.
installer: win
	@mkdir -p out
	cp $(B)/win/TempoExpiratorio-Setup.exe out/
	@echo "out/TempoExpiratorio-Setup.exe"
