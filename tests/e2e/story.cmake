# End-to-end: an afternoon with the program, start to Esc, one screenshot a step.
proxyswitcher_add_localnet_e2e(e2e_story test_story.py)
