# Run by ctest after the end-to-end suite has been listed into e2e_tests_TESTS. A whole game
# lasts several minutes on the game's one-second clock; the storm, the faults and the soak
# each run alone under their own label.
foreach(name IN LISTS e2e_tests_TESTS)
    if(name MATCHES "^WholeGame\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;long" TIMEOUT 900)
    elseif(name MATCHES "^Storm\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;storm")
    elseif(name MATCHES "^(Faults/|ServerLoss\\.|ChildDescriptors\\.)")
        set_tests_properties(${name} PROPERTIES LABELS "display;faults")
    elseif(name MATCHES "^Soak\\.")
        set_tests_properties(${name} PROPERTIES LABELS "display;soak" TIMEOUT 1800)
    endif()
endforeach()
