# End-to-end: closing the main window while a handler waits for the network,
# and a whole run's trace in the registry.
proxyswitcher_add_localnet_e2e(e2e_closing test_closing.py)
proxyswitcher_add_localnet_e2e(e2e_registry test_registry.py)
