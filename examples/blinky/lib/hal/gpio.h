#ifndef GPIO_H
#define GPIO_H

void gpio_configure_output(unsigned pin);
void gpio_toggle(unsigned pin);

#endif
