# One fuzz test: replays a target's corpus, then runs a fixed number of inputs made from it from a
# fixed start, so that every run of the test makes its inputs the same way, whatever the machine's
# speed (a target whose own paths vary from run to run, with threads in a decoder say, can still
# steer libFuzzer a little). The inputs it finds go to a scratch corpus emptied first: a corpus that
# grew in an earlier run would start this one elsewhere. Exploring with random seeds is `./run fuzz`.
#
#   cmake -DFUZZER=... -DWORK=... -DCORPUS=... -DDICT=... -DRUNS=... -P replay_and_run.cmake
foreach(variable FUZZER WORK CORPUS DICT RUNS)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "replay_and_run.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
# -runs counts the corpus's inputs as well: the test runs that many more than the corpus holds.
file(GLOB corpus_files ${CORPUS}/*)
list(LENGTH corpus_files corpus_size)
math(EXPR runs "${corpus_size} + ${RUNS}")
# -reload=0: the corpus is read once, not again after a time that depends on the machine's speed.
execute_process(
  COMMAND ${FUZZER} -seed=1 -runs=${runs} -reload=0 -timeout=10 -rss_limit_mb=2048
          -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/ -dict=${DICT}
          ${WORK}/corpus ${CORPUS}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${status}); what it found is in ${WORK}/artifacts/")
endif()
