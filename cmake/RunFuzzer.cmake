# Runs one fuzz target for SECONDS on the committed CORPUS; new inputs go to
# WORK (emptied first) so the repository's corpus is only read. Fails when
# the target finds a crash, a leak, a broken invariant or a slow input.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
                        -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK} ${CORPUS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input is kept in ${WORK}")
endif()
