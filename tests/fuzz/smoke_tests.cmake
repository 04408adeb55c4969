# The fuzz targets and their smoke tests: fuzz_seeds writes the corpora, then every target runs
# for KOV_FUZZ_SECONDS over its seeds and what it finds. The long runs are made by hand.
set(KOV_FUZZ_TARGETS bdon task_descriptor task_input solution stat shell protocol info)
set(KOV_FUZZ_SECONDS 10 CACHE STRING "Seconds each fuzz target runs as a test")

# The tests of the targets built in `bin_dir`.
function(kov_fuzz_smoke_tests bin_dir)
    set(corpus ${bin_dir}/corpus)
    add_test(NAME fuzz_seeds COMMAND ${bin_dir}/fuzz_seeds ${corpus})
    set_tests_properties(fuzz_seeds PROPERTIES FIXTURES_SETUP fuzz_corpus)
    foreach(name ${KOV_FUZZ_TARGETS})
        add_test(NAME fuzz_${name}_smoke COMMAND ${bin_dir}/fuzz_${name} -seed=1
            -max_total_time=${KOV_FUZZ_SECONDS} -rss_limit_mb=1024 ${corpus}/${name})
        set_tests_properties(fuzz_${name}_smoke PROPERTIES FIXTURES_REQUIRED fuzz_corpus
            TIMEOUT 120)
    endforeach()
endfunction()
