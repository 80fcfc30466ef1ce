# End-to-end: the probe, the proxy buttons, batch verification and ip.txt.
proxyswitcher_add_localnet_e2e(e2e_proxy test_proxy.py)
