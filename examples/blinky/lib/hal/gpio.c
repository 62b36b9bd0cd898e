#include "gpio.h"

static volatile unsigned *const gpio_output = (volatile unsigned *)0x40020014u;
static volatile unsigned *const gpio_mode = (volatile unsigned *)0x40020000u;

void gpio_configure_output(unsigned pin) {
    *gpio_mode = (*gpio_mode & ~(3u << (2u * pin))) | (1u << (2u * pin));
}

void gpio_toggle(unsigned pin) {
    *gpio_output ^= 1u << pin;
}
